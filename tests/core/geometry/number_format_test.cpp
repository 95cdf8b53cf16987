#include "geometry/number_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace planimo {
namespace {

struct FormatCase {
  double value;
  const char* pattern;
  const char* expected;
};

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, FollowsThePattern) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected)
      << "value " << c.value << " pattern \"" << c.pattern << "\"";
}

// The value-label patterns by number of decimals.
INSTANTIATE_TEST_SUITE_P(
    LabelPatterns, FormatNumberTest,
    ::testing::Values(FormatCase{1234.5678, " ##,##0.00 ", " 1,234.57 "},
                      FormatCase{0.5, " #,###,##0 ", " 1 "},
                      FormatCase{1.5, " #,###,##0 ", " 2 "},
                      FormatCase{2.5, " #,###,##0 ", " 3 "},
                      FormatCase{0.4, " #,###,##0 ", " 0 "},
                      FormatCase{1234567, " #,###,##0 ", " 1,234,567 "},
                      FormatCase{1234567890, " #,###,##0 ", " 1,234,567,890 "},
                      FormatCase{999.995, " ##,##0.00 ", " 1,000.00 "},
                      FormatCase{999999.95, " ###,##0.0 ", " 1,000,000.0 "},
                      FormatCase{0.000001, " #0.00000 ", " 0.00000 "},
                      FormatCase{0.000005, " #0.00000 ", " 0.00001 "},
                      FormatCase{12.5, " 0.000000 ", " 12.500000 "},
                      FormatCase{1.00005, " ##0.0000 ", " 1.0001 "},
                      FormatCase{1.2345, " #,##0.000 ", " 1.235 "},
                      FormatCase{0, " ##,##0.00 ", " 0.00 "}));

// Decimal rounding on the 15-digit text: these Doubles lie just below the
// half, yet must round up.
INSTANTIATE_TEST_SUITE_P(
    DecimalRounding, FormatNumberTest,
    ::testing::Values(FormatCase{1.005, "0.00", "1.01"}, FormatCase{2.675, "0.00", "2.68"},
                      FormatCase{0.125, "0.00", "0.13"}, FormatCase{-2.675, "0.00", "-2.68"},
                      FormatCase{9.9999999999999999, "0.0", "10.0"},
                      FormatCase{0.1 + 0.2, "0.0######", "0.3"}));

// Fixed patterns of the read-outs and the CSV export.
INSTANTIATE_TEST_SUITE_P(
    FixedPatterns, FormatNumberTest,
    ::testing::Values(FormatCase{2, "0.0######", "2.0"},
                      FormatCase{2.123456789, "0.0######", "2.1234568"},
                      FormatCase{0.00000004, "0.0######", "0.0"},
                      FormatCase{1, "##0.0###", "1.0"}, FormatCase{45.25, "##0.0###", "45.25"},
                      FormatCase{359.99999, "##0.0###", "360.0"},
                      FormatCase{30.5, "##0.0###゜", "30.5゜"},
                      FormatCase{5, "0##", "005"}, FormatCase{5, "0#", "05"},
                      FormatCase{123, "0#", "123"}, FormatCase{5.5, "0#.###0", "05.5000"},
                      FormatCase{59.99996, "0#.###0", "60.0000"},
                      FormatCase{0.5, "#.0##", ".5"}, FormatCase{1.25, "#.0##", "1.25"},
                      FormatCase{0, "#.0##", ".0"}, FormatCase{1500, "#######.0#", "1500.0"},
                      FormatCase{1234.567, "#######.0#", "1234.57"},
                      FormatCase{12.5, "#####0.###0", "12.5000"},
                      FormatCase{0.75, "##0%", "1%"}));

INSTANTIATE_TEST_SUITE_P(
    Negatives, FormatNumberTest,
    ::testing::Values(FormatCase{-1234.5678, " ##,##0.00 ", " -1,234.57 "},
                      FormatCase{-0.5, " #,###,##0 ", " -1 "},
                      FormatCase{-0.004, " ##,##0.00 ", " 0.00 "},
                      FormatCase{-0.0, "0.0######", "0.0"},
                      FormatCase{-12.25, "##0.0###゜", "-12.25゜"}));

INSTANTIATE_TEST_SUITE_P(
    LargeAndSmall, FormatNumberTest,
    ::testing::Values(FormatCase{1e20, "#,##0", "100,000,000,000,000,000,000"},
                      FormatCase{123456789012345678.0, "0", "123456789012346000"},
                      FormatCase{5e-320, "0.00", "0.00"}, FormatCase{1e-16, "0.0######", "0.0"}));

// The general form (labels of 7 or 8 decimals) is the shortest text that
// reads back to the very same Double, even where that needs 16 or 17 digits.
TEST(FormatNumber, EmptyPatternGivesTheShortestExactText) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{0.1, "0.1"}, {-2.5, "-2.5"}, {2e5, "200000"},  // not "2e+05"
               {0.1 + 0.2, "0.30000000000000004"}, {1.0 / 3, "0.3333333333333333"},
               {-141.42135623730951, "-141.4213562373095"}, {1e15, "1E+15"},
               {0.00001, "1E-05"}, {-0.0, "0"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, ""), c.text);
    EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
  }
}

// Singles and Doubles in every text the program makes: at most 7 or 15
// significant digits, the exponent form only below 1E-4 or from 1E+07/1E+15,
// and a text that reads back and is written again unchanged.
TEST(NumberText, SinglesAndDoublesReadBackToTheSameText) {
  struct Case {
    double value;
    const char* single;
    const char* dbl;
  };
  const Case cases[] = {
      {0, "0", "0"},
      {-0.0, "0", "0"},
      {0.1, "0.1", "0.1"},
      {100000, "100000", "100000"},
      {1e7, "1E+07", "10000000"},
      {1.5e7, "1.5E+07", "15000000"},
      {9999999, "9999999", "9999999"},
      {12345678, "1.234568E+07", "12345678"},
      {0.0001, "0.0001", "0.0001"},
      {0.00001, "1E-05", "1E-05"},
      {-2.5e-7, "-2.5E-07", "-2.5E-07"},
      {141.42135623730951, "141.4214", "141.42135623731"},
      {13.466666666666667, "13.46667", "13.4666666666667"},
      {44.933333333333334, "44.93333", "44.9333333333333"},
      {-1234.56789, "-1234.568", "-1234.56789"},
      {99999995, "9.999999E+07", "99999995"},
      {0.1 + 0.2, "0.3", "0.3"},
      {1e15, "1E+15", "1E+15"},
      {999999999999999.0, "1E+15", "999999999999999"},
      {1e100, "inf", "1E+100"},
  };
  for (const Case& c : cases) {
    const float f = static_cast<float>(c.value);
    const std::string single = SingleText(f);
    const std::string dbl = DoubleText(c.value);
    EXPECT_EQ(single, c.single) << c.value;
    EXPECT_EQ(dbl, c.dbl) << c.value;
    if (std::isfinite(f)) {
      EXPECT_EQ(SingleText(static_cast<float>(LeadingNumber(single))), single) << c.value;
    }
    EXPECT_EQ(DoubleText(LeadingNumber(dbl)), dbl) << c.value;
  }
}

// Every Single in a wide sweep of magnitudes: at most 7 digits, a text that
// is stable under reading and writing, and the value itself whenever a text
// of 7 digits can hold it.
TEST(NumberText, SingleSweepIsStableAndExactWhenItCanBe) {
  for (float f = 1.0e-6f; f < 1.0e12f; f = std::nextafter(f * 1.0009765f, 1e30f)) {
    const std::string text = SingleText(f);
    const float back = static_cast<float>(LeadingNumber(text));
    ASSERT_EQ(SingleText(back), text) << f;
    std::string digits;
    for (char c : text.substr(0, text.find('E'))) {
      if (c >= '0' && c <= '9' && !(digits.empty() && c == '0')) digits += c;
    }
    ASSERT_LE(digits.size(), 7u) << text;
    char shortest[32];
    const auto res = std::to_chars(shortest, shortest + sizeof shortest, f, std::chars_format::scientific);
    if (std::string_view(shortest, res.ptr).find('e') <= 8) {
      ASSERT_EQ(back, f) << text;
    }
  }
}

TEST(FormatNumber, NonFiniteValuesGiveReadableText) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(FormatNumber(inf, ""), "inf");
  EXPECT_EQ(FormatNumber(-inf, ""), "-inf");
  EXPECT_EQ(FormatNumber(nan, " ##,##0.00 "), " nan ");
  EXPECT_EQ(FormatNumber(inf, "##0.0###゜"), "inf゜");
}

TEST(FormatNumber, PatternWithoutDigitPositionsStillShowsTheNumber) {
  EXPECT_EQ(FormatNumber(0, "#"), "0");
  EXPECT_EQ(FormatNumber(7.6, "abc"), "abc8");
}

TEST(FormatText, NumericTextIsFormattedOtherTextCopied) {
  EXPECT_EQ(FormatText("1234.5678", " ##,##0.00 "), " 1,234.57 ");
  EXPECT_EQ(FormatText(" 1,234.5 ", "0.0######"), "1234.5");
  EXPECT_EQ(FormatText("-3", "0.0######"), "-3.0");
  EXPECT_EQ(FormatText("New 1", "0.0######"), "New 1");
  EXPECT_EQ(FormatText("", "0.0######"), "");
  EXPECT_EQ(FormatText("寸法", " #,###,##0 "), "寸法");
}

struct ParseCase {
  const char* text;
  bool numeric;
  double value;
};

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, JudgesInputLikeAnInputBox) {
  const ParseCase& c = GetParam();
  const std::optional<double> v = ParseNumber(c.text);
  ASSERT_EQ(v.has_value(), c.numeric) << "\"" << c.text << "\"";
  if (c.numeric) {
    EXPECT_DOUBLE_EQ(*v, c.value) << "\"" << c.text << "\"";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ParseNumberTest,
    ::testing::Values(ParseCase{"12", true, 12}, ParseCase{"  12.5  ", true, 12.5},
                      ParseCase{"-3", true, -3}, ParseCase{"+3", true, 3},
                      ParseCase{"1,234.5", true, 1234.5}, ParseCase{".5", true, 0.5},
                      ParseCase{"-.5", true, -0.5}, ParseCase{"5.", true, 5},
                      ParseCase{"1.5e2", true, 150}, ParseCase{"1E-3", true, 0.001},
                      ParseCase{"", false, 0}, ParseCase{"   ", false, 0},
                      ParseCase{"abc", false, 0}, ParseCase{"1a", false, 0},
                      ParseCase{"-", false, 0}, ParseCase{".", false, 0},
                      ParseCase{",5", false, 0}, ParseCase{"1.2.3", false, 0},
                      ParseCase{"1e", false, 0}, ParseCase{"1 2", false, 0},
                      ParseCase{"1e999", false, 0}, ParseCase{"inf", false, 0},
                      ParseCase{"nan", false, 0}));

TEST(LeadingNumber, ReadsTheLeadingNumberLikeVal) {
  EXPECT_EQ(LeadingNumber("12abc"), 12);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(" 1.5e2"), 150);
  EXPECT_EQ(LeadingNumber("0.3048"), 0.3048);
  EXPECT_EQ(LeadingNumber("-2.5m"), -2.5);
  EXPECT_EQ(LeadingNumber("1e"), 1);
  EXPECT_EQ(LeadingNumber("1,234"), 1);
  EXPECT_EQ(LeadingNumber(".25"), 0.25);
  EXPECT_EQ(LeadingNumber("1e999"), 0);  // out of range reads as nothing
}

}  // namespace
}  // namespace planimo
