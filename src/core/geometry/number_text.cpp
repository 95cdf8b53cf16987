// The plain text of a Single or a Double: what boxes, captions, tags and files
// show when no number pattern applies. A large project's save writes hundreds
// of thousands of these, so the text is built in a stack buffer and becomes a
// string once (short enough to need no allocation).

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "geometry/number_format.h"

namespace planimo {

namespace {

// Significant digits, trailing zeros dropped, and decimal exponent:
// value = d.ddd × 10^exponent.
struct Scientific {
  char digits[32];
  int count = 0;
  int exponent = 0;
};

// Splits to_chars' scientific text "d.ddde±xx" (sign already removed).
Scientific Split(const char* text, const char* end) {
  Scientific s;
  const char* p = text;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.') s.digits[s.count++] = *p;
  }
  ++p;  // 'e'
  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '-' || *p == '+')) ++p;
  int exponent = 0;
  for (; p != end; ++p) exponent = exponent * 10 + (*p - '0');
  s.exponent = negative ? -exponent : exponent;
  while (s.count > 1 && s.digits[s.count - 1] == '0') --s.count;
  return s;
}

template <typename T>
Scientific Shortest(T magnitude) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
  return Split(buf, res.ptr);
}

double Pow10(int k) {
  static const std::array<double, 128> table = [] {
    std::array<double, 128> t{};
    for (int i = 0; i < 128; ++i) t[static_cast<std::size_t>(i)] = std::pow(10.0, i - 64);
    return t;
  }();
  return k >= -64 && k < 64 ? table[static_cast<std::size_t>(k + 64)] : std::pow(10.0, k);
}

// Whether `rounded` (a text of at most maxDigits digits near `magnitude`) is
// what reading it back and taking the shortest text again gives: so when the
// values of T there lie closer together than the texts of maxDigits digits,
// since then each value's read-back range holds no other such text. Below a
// power of ten the texts are ten times denser, so that case takes the long way.
template <typename T>
bool OnlyTextOfItsValue(T magnitude, const Scientific& rounded, int maxDigits) {
  if (rounded.count == 1 && rounded.digits[0] == '1') return false;
  const double gap = static_cast<double>(std::nextafter(magnitude, std::numeric_limits<T>::infinity())) -
                     static_cast<double>(magnitude);
  // Twice the gap: the rounded text may lie above the next power of two.
  return 2 * gap < Pow10(rounded.exponent - (maxDigits - 1));
}

// The value rounded to maxDigits digits, taken from its shortest text when
// that text lies far enough from the halfway point between two roundings
// that the exact value, within half a gap of it, rounds the same way.
template <typename T>
std::optional<Scientific> RoundedFromShortest(T magnitude, const Scientific& s, int maxDigits) {
  const int drop = s.count - maxDigits;
  if (drop > 3) return std::nullopt;
  std::uint64_t kept = 0;
  for (int i = 0; i < maxDigits; ++i) kept = kept * 10 + static_cast<std::uint64_t>(s.digits[i] - '0');
  int rest = 0, half = 5;
  for (int i = maxDigits; i < s.count; ++i) rest = rest * 10 + (s.digits[i] - '0');
  for (int i = 1; i < drop; ++i) half *= 10;
  const double gap = static_cast<double>(std::nextafter(magnitude, std::numeric_limits<T>::infinity())) -
                     static_cast<double>(magnitude);
  const double fromHalf = std::abs(rest - half) * Pow10(s.exponent - (s.count - 1));
  if (!(fromHalf > 2 * gap)) return std::nullopt;
  Scientific r;
  r.exponent = s.exponent;
  if (rest > half) ++kept;
  char* end = std::to_chars(r.digits, r.digits + sizeof r.digits, kept).ptr;
  r.count = static_cast<int>(end - r.digits);
  if (r.count > maxDigits) ++r.exponent;  // 9999999|9 became 10000000
  while (r.count > 1 && r.digits[r.count - 1] == '0') --r.count;
  return r;
}

// The digits of the shortest text that reads back to `magnitude`; when that
// needs more than `maxDigits`, the value is rounded to `maxDigits` first and
// the shortest text of the rounded value's nearest T is taken, so that the
// result read back and written again is the same text.
template <typename T>
Scientific Digits(T magnitude, int maxDigits) {
  const Scientific s = Shortest(magnitude);
  if (s.count <= maxDigits) return s;
  if (const auto quick = RoundedFromShortest(magnitude, s, maxDigits)) {
    if (OnlyTextOfItsValue(magnitude, *quick, maxDigits)) return *quick;
  }
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, maxDigits - 1);
  const Scientific rounded = Split(buf, res.ptr);
  if (OnlyTextOfItsValue(magnitude, rounded, maxDigits)) return rounded;
  T nearest{};
  if (std::from_chars(buf, res.ptr, nearest).ec == std::errc::result_out_of_range && magnitude > 1) {
    // Just below the largest T the rounded text overflows; its last digit one
    // lower is the nearest text that still reads back as a number.
    char* last = buf + maxDigits;  // "d." then maxDigits - 1 digits
    if (*last > '0') --*last;
    std::from_chars(buf, res.ptr, nearest);
  }
  return Shortest(nearest);
}

char* AppendExponent(char* out, int exponent) {
  *out++ = 'E';
  *out++ = exponent < 0 ? '-' : '+';
  const int mag = std::abs(exponent);
  if (mag < 10) *out++ = '0';
  return std::to_chars(out, out + 4, mag).ptr;
}

std::string Layout(bool negative, const Scientific& s, int maxDigits) {
  char buf[64];
  char* out = buf;
  if (negative) *out++ = '-';
  const char* d = s.digits;
  const int n = s.count;
  if (s.exponent < -4 || s.exponent >= maxDigits) {
    *out++ = d[0];
    if (n > 1) {
      *out++ = '.';
      for (int i = 1; i < n; ++i) *out++ = d[i];
    }
    out = AppendExponent(out, s.exponent);
  } else if (s.exponent >= 0) {
    const int integerDigits = s.exponent + 1;
    for (int i = 0; i < integerDigits; ++i) *out++ = i < n ? d[i] : '0';
    if (n > integerDigits) {
      *out++ = '.';
      for (int i = integerDigits; i < n; ++i) *out++ = d[i];
    }
  } else {
    *out++ = '0';
    *out++ = '.';
    for (int i = 0; i < -s.exponent - 1; ++i) *out++ = '0';
    for (int i = 0; i < n; ++i) *out++ = d[i];
  }
  return std::string(buf, out);
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

std::string GeneralText(double value) {
  if (value == 0 || !std::isfinite(value)) return DoubleText(value);
  // Every Double has a shortest text of at most 17 digits; the exponent form
  // starts where DoubleText's does.
  return Layout(value < 0, Shortest(std::fabs(value)), 15);
}

}  // namespace planimo
