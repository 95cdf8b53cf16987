// The plain text of a Single or a Double: what boxes, captions, tags and files
// show when no number pattern applies.

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "geometry/number_format.h"

namespace planimo {

namespace {

// Significant digits and decimal exponent: value = d.ddd × 10^exponent.
struct Scientific {
  std::string digits;
  int exponent = 0;
};

// Splits to_chars' scientific text "d.ddde±xx" (sign already removed).
Scientific Split(std::string_view text) {
  Scientific s;
  const std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.') s.digits += text[i];
  }
  const char* expBegin = text.data() + e + 1;
  if (*expBegin == '+') ++expBegin;
  std::from_chars(expBegin, text.data() + text.size(), s.exponent);
  while (s.digits.size() > 1 && s.digits.back() == '0') s.digits.pop_back();
  return s;
}

template <typename T>
std::string ScientificText(T magnitude, int precision = -1) {
  std::array<char, 64> buf{};
  const auto res = precision < 0
                       ? std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                       std::chars_format::scientific)
                       : std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                       std::chars_format::scientific, precision);
  return std::string(buf.data(), res.ptr);
}

// The digits of the shortest text that reads back to `magnitude`; when that
// needs more than `maxDigits`, the value is rounded to `maxDigits` first and
// the shortest text of the rounded value's nearest T is taken, so that the
// result read back and written again is the same text.
template <typename T>
Scientific Digits(T magnitude, int maxDigits) {
  Scientific s = Split(ScientificText(magnitude));
  if (static_cast<int>(s.digits.size()) <= maxDigits) return s;
  const std::string rounded = ScientificText(magnitude, maxDigits - 1);
  T nearest{};
  std::from_chars(rounded.data(), rounded.data() + rounded.size(), nearest);
  return Split(ScientificText(nearest));
}

std::string Layout(bool negative, const Scientific& s, int maxDigits) {
  std::string out = negative ? "-" : "";
  const std::string& d = s.digits;
  if (s.exponent < -4 || s.exponent >= maxDigits) {
    out += d[0];
    if (d.size() > 1) out += "." + d.substr(1);
    out += s.exponent < 0 ? "E-" : "E+";
    const int mag = std::abs(s.exponent);
    if (mag < 10) out += '0';
    out += std::to_string(mag);
  } else if (s.exponent >= 0) {
    const std::size_t integerDigits = static_cast<std::size_t>(s.exponent) + 1;
    if (d.size() <= integerDigits) {
      out += d + std::string(integerDigits - d.size(), '0');
    } else {
      out += d.substr(0, integerDigits) + "." + d.substr(integerDigits);
    }
  } else {
    out += "0." + std::string(static_cast<std::size_t>(-s.exponent - 1), '0') + d;
  }
  return out;
}

template <typename T>
std::string NumberText(T value, int maxDigits) {
  if (value == 0) return "0";  // also for -0
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  return Layout(value < 0, Digits(std::fabs(value), maxDigits), maxDigits);
}

}  // namespace

std::string SingleText(float value) { return NumberText(value, 7); }

std::string DoubleText(double value) { return NumberText(value, 15); }

}  // namespace planimo
