#pragma once

// The number-pattern language every value text of the program uses:
// "0" always shows a digit, "#" shows a significant digit, "." is the decimal
// point, "," among the integer positions asks for thousands grouping, and any
// other character is copied unchanged.

#include <optional>
#include <string>
#include <string_view>

namespace planimo {

// Formats `value` with `pattern`; an empty pattern gives the general form.
std::string FormatNumber(double value, std::string_view pattern);

// Formats text the way a value given as text is formatted: text that reads as
// a number (with "," grouping allowed) is converted first, other text is
// copied unchanged.
std::string FormatText(std::string_view text, std::string_view pattern);

// The shortest decimal text that reads back to the same double; no grouping,
// no leading blank.
std::string GeneralForm(double value);

// The shortest text of a Single: up to 7 significant digits, "0" for -0.
std::string SingleText(float value);

// Reads a whole text as a number the way an input box judges it numeric:
// surrounding blanks, a sign, "," grouping, a decimal point and an exponent
// are allowed; anything else makes it non-numeric.
std::optional<double> ParseNumber(std::string_view text);

// The text's leading number ("." decimal point, optional exponent); empty or
// non-numeric text reads as 0. Used for numbers read from settings files.
double LeadingNumber(std::string_view text);

}  // namespace planimo
