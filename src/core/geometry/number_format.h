#pragma once

// The number-pattern language every value text of the program uses:
// "0" always shows a digit, "#" shows a significant digit, "." is the decimal
// point, "," among the integer positions asks for thousands grouping, and any
// other character is copied unchanged.

#include <optional>
#include <string>
#include <string_view>

namespace planimo {

// Formats `value` with `pattern`; an empty pattern gives GeneralText.
std::string FormatNumber(double value, std::string_view pattern);

// Formats text the way a value given as text is formatted: text that reads as
// a number (with "," grouping allowed) is converted first, other text is
// copied unchanged.
std::string FormatText(std::string_view text, std::string_view pattern);

// The text of a Single as every box, caption, tag and file shows it: the
// shortest text of at most 7 significant digits that reads back to the value,
// or the value rounded to 7 digits when no such text exists; trailing zeros
// and a trailing point dropped ("141.4214", "100000", "0.1"); the exponent
// form only below 1E-4 or from 1E+07 ("1.5E+07", "1E-05"); "0" for -0.
// Reading the text back and writing it again gives the same text.
std::string SingleText(float value);

// The same for a Double with at most 15 significant digits; the exponent form
// from 1E+15. Not finite values read "inf", "-inf", "nan".
std::string DoubleText(double value);

// The general form of a value with no pattern (a label of 7 or 8 decimals):
// the shortest text that reads back to exactly this Double, up to 17
// significant digits, laid out like DoubleText ("0.30000000000000004").
std::string GeneralText(double value);

// Reads a whole text as a number the way an input box judges it numeric:
// surrounding blanks, a sign, "," grouping, a decimal point and an exponent
// are allowed; anything else makes it non-numeric.
std::optional<double> ParseNumber(std::string_view text);

// The text's leading number ("." decimal point, optional exponent); empty or
// non-numeric text reads as 0. Used for numbers read from settings files.
double LeadingNumber(std::string_view text);

}  // namespace planimo
