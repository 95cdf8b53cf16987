#include "geometry/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace planimo {

namespace {

// What a pattern asks for, read once per call.
struct PatternShape {
  std::string prefix;          // literals placed before the number
  std::string suffix;          // literals placed after the number
  int decimals = 0;            // digit positions after the point
  int requiredDecimals = 0;    // up to and including the last "0" after the point
  int minIntegerDigits = 0;    // positions from the first "0" to the point
  bool grouping = false;       // "," among the integer positions
};

bool IsDigitPosition(char c) { return c == '0' || c == '#'; }

PatternShape ReadPattern(std::string_view p) {
  PatternShape shape;
  const std::size_t first = p.find_first_of("0#.");
  if (first == std::string_view::npos) {
    shape.prefix = std::string(p);  // no positions: the number follows the text
    return shape;
  }
  const std::size_t last = p.find_last_of("0#.");
  std::size_t point = p.find('.', first);
  if (point > last) point = std::string_view::npos;

  shape.prefix = std::string(p.substr(0, first));
  std::string innerAfter;  // literals between the point and the last position
  bool seenZero = false;
  for (std::size_t i = first; i <= last; ++i) {
    const char c = p[i];
    if (i == point) continue;
    const bool integerSide = point == std::string_view::npos || i < point;
    if (integerSide) {
      if (c == '0') seenZero = true;
      if (IsDigitPosition(c)) {
        if (seenZero) ++shape.minIntegerDigits;
      } else if (c == ',') {
        shape.grouping = true;
      } else {
        shape.prefix += c;  // a literal among the integer positions
      }
    } else if (IsDigitPosition(c)) {
      ++shape.decimals;
      if (c == '0') shape.requiredDecimals = shape.decimals;
    } else if (c != ',' && c != '.') {
      innerAfter += c;
    }
  }
  shape.suffix = innerAfter + std::string(p.substr(last + 1));
  return shape;
}

// A finite magnitude as decimal digits: value = 0.digits × 10^integerDigits.
struct DecimalDigits {
  std::string digits;
  int integerDigits = 0;
};

// Writes |value| with 15 significant digits, the precision a Double is shown
// with, so that later rounding works on the decimal text and not on the
// binary value (999.995 must round up, although the Double lies below it).
DecimalDigits FifteenDigits(double magnitude) {
  std::array<char, 40> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                 std::chars_format::scientific, 14);
  const std::string_view text(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  DecimalDigits d;
  const std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.') d.digits += text[i];
  }
  int exponent = 0;
  const char* expBegin = text.data() + e + 1;
  if (*expBegin == '+') ++expBegin;
  std::from_chars(expBegin, text.data() + text.size(), exponent);
  d.integerDigits = exponent + 1;
  return d;
}

// Rounds half away from zero so that `decimals` digits remain after the point.
void RoundToDecimals(DecimalDigits& d, int decimals) {
  const long keep = static_cast<long>(d.integerDigits) + decimals;
  if (keep >= static_cast<long>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (!up) return;
  for (std::size_t i = d.digits.size(); i-- > 0;) {
    if (d.digits[i] != '9') {
      ++d.digits[i];
      return;
    }
    d.digits[i] = '0';
  }
  d.digits.insert(d.digits.begin(), '1');  // the carry makes a new leading digit
  ++d.integerDigits;
}

char DigitAt(const DecimalDigits& d, long index) {
  if (index < 0 || index >= static_cast<long>(d.digits.size())) return '0';
  return d.digits[static_cast<std::size_t>(index)];
}

std::string Grouped(const std::string& digits) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) {
  if (pattern.empty()) return GeneralText(value);
  const PatternShape shape = ReadPattern(pattern);
  if (!std::isfinite(value)) return shape.prefix + DoubleText(value) + shape.suffix;

  DecimalDigits d = FifteenDigits(std::fabs(value));
  RoundToDecimals(d, shape.decimals);

  std::string integer;
  for (long i = 0; i < d.integerDigits; ++i) integer += DigitAt(d, i);
  std::string fraction;
  for (long k = 0; k < shape.decimals; ++k) fraction += DigitAt(d, d.integerDigits + k);

  const bool zero = std::all_of(integer.begin(), integer.end(), [](char c) { return c == '0'; }) &&
                    std::all_of(fraction.begin(), fraction.end(), [](char c) { return c == '0'; });

  integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
  if (static_cast<int>(integer.size()) < shape.minIntegerDigits) {
    integer.insert(0, static_cast<std::size_t>(shape.minIntegerDigits) - integer.size(), '0');
  }
  while (static_cast<int>(fraction.size()) > shape.requiredDecimals && fraction.back() == '0') {
    fraction.pop_back();
  }
  // A number must never vanish: "#" of 0 still shows one digit.
  if (integer.empty() && fraction.empty()) integer = "0";
  if (shape.grouping) integer = Grouped(integer);

  std::string out = shape.prefix;
  if (value < 0 && !zero) out += '-';
  out += integer;
  if (!fraction.empty()) {
    out += '.';
    out += fraction;
  }
  out += shape.suffix;
  return out;
}

std::string FormatText(std::string_view text, std::string_view pattern) {
  if (const std::optional<double> v = ParseNumber(text)) return FormatNumber(*v, pattern);
  return std::string(text);
}

}  // namespace planimo
