// The fast Single and Double texts against the straightforward way they were
// first written (kept here as the reference): a saved project must not change
// by a byte. Every sign, exponent and mantissa pattern is covered by a stride
// through all floats, besides the values drawings are full of.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "geometry/number_format.h"

namespace planimo {
namespace {

namespace reference {


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


}  // namespace reference

#if defined(__SANITIZE_ADDRESS__)
constexpr std::uint32_t kScale = 16;  // the same walk, thinner, under the sanitizers
#else
constexpr std::uint32_t kScale = 1;
#endif

TEST(NumberText, MatchesTheReferenceOnMillionsOfValues) {
  int mismatches = 0;
  const auto check = [&](float f) {
    const std::string fast = SingleText(f);
    const std::string ref = reference::NumberText(f, 7);
    if (fast != ref && ++mismatches <= 10) ADD_FAILURE() << std::bit_cast<std::uint32_t>(f) << ": " << fast << " vs " << ref;
  };
  // Every 2,003rd bit pattern: about 2.1 million floats of every exponent,
  // subnormals, both signs, infinities and NaNs among them.
  for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 2003 * kScale) {
    check(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
  }
  std::mt19937 random(11);
  std::uniform_real_distribution<float> coordinate(-20000, 20000);
  for (std::uint32_t k = 0; k < 300000 / kScale; ++k) {
    check(coordinate(random));
    check(static_cast<float>(k) / 100);  // centimetre values
    check(static_cast<float>(k) / 1000 + 0.0005f);
  }
  std::mt19937_64 wide(13);
  for (std::uint32_t k = 0; k < 200000 / kScale; ++k) {
    const double d = std::bit_cast<double>(wide());
    const std::string fast = DoubleText(d);
    const std::string ref = reference::NumberText(d, 15);
    if (fast != ref && ++mismatches <= 10) ADD_FAILURE() << d << ": " << fast << " vs " << ref;
  }
  EXPECT_EQ(mismatches, 0);
}

// The largest Doubles round up past the range at 15 digits; they once read
// "0", now the nearest 15-digit text below them.
TEST(NumberText, LargestDoublesKeepTheirSize) {
  EXPECT_EQ(DoubleText(DBL_MAX), "1.79769313486231E+308");
  EXPECT_EQ(DoubleText(-DBL_MAX), "-1.79769313486231E+308");
  EXPECT_EQ(DoubleText(LeadingNumber(DoubleText(DBL_MAX))), DoubleText(DBL_MAX));
  EXPECT_EQ(SingleText(FLT_MAX), "3.402823E+38");
}

}  // namespace
}  // namespace planimo
