// Reading numbers from text: the strict test of an input box and the lenient
// leading-number read used for settings values.

#include <charconv>
#include <cmath>
#include <string>

#include "geometry/number_format.h"

namespace planimo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Converts a cleaned "[-]digits[.digits][e[-]digits]" text; out-of-range
// magnitudes are not numbers.
std::optional<double> Convert(const std::string& clean) {
  double v = 0;
  const char* begin = clean.data();
  if (*begin == '+') ++begin;  // from_chars takes no plus sign
  const auto res = std::from_chars(begin, clean.data() + clean.size(), v);
  if (res.ec != std::errc() || res.ptr != clean.data() + clean.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return v;
}

// Reads an optional exponent at text[i]; returns the position after it, or i
// when no complete exponent follows.
std::size_t ReadExponent(std::string_view text, std::size_t i, std::string& clean) {
  if (i >= text.size() || (text[i] != 'e' && text[i] != 'E')) return i;
  std::size_t j = i + 1;
  std::string exp = "e";
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) exp += text[j++];
  if (j >= text.size() || !IsDigit(text[j])) return i;
  while (j < text.size() && IsDigit(text[j])) exp += text[j++];
  clean += exp;
  return j;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  std::size_t i = 0;
  std::size_t end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;
  text = text.substr(0, end);

  std::string clean;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) clean += text[i++];
  int digits = 0;
  // Integer part: "," groups digits, so it may only follow a digit.
  while (i < text.size() && (IsDigit(text[i]) || (text[i] == ',' && digits > 0))) {
    if (text[i] != ',') {
      clean += text[i];
      ++digits;
    }
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    clean += text[i++];
    while (i < text.size() && IsDigit(text[i])) {
      clean += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  const std::size_t afterExp = ReadExponent(text, i, clean);
  if (afterExp != text.size()) return std::nullopt;
  return Convert(clean);
}

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::string clean;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) clean += text[i++];
  int digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    clean += text[i++];
    ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    clean += '.';
    while (i < text.size() && IsDigit(text[i])) {
      clean += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return 0;
  ReadExponent(text, i, clean);
  return Convert(clean).value_or(0.0);
}

}  // namespace planimo
