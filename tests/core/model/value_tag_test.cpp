#include "model/value_tag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace planimo {
namespace {

struct FormatCase {
  double value;
  const char* text;
};

TEST(FormatTagValue, WritesLikeTheClassicConversionWithoutItsBlank) {
  const FormatCase cases[] = {
      {12.5, "12.5"},
      {0.001, "0.001"},
      {1234567.891, "1234567.891"},
      {-3, "-3"},
      {0, "0"},
      {-0.0, "0"},
      {0.0001, "0.0001"},
      {0.00001, "1E-05"},
      {1.5e20, "1.5E+20"},
      {1e15, "1E+15"},
      {999999999999999.0, "999999999999999"},
      {-2.5e-7, "-2.5E-07"},
      {1e100, "1E+100"},
      {0.1 + 0.2, "0.3"},                  // 15 digits hide the binary residue
      {1.0 / 3.0, "0.333333333333333"},
      {123.456789012345678, "123.456789012346"},
      {9.9999999999999999e14, "1E+15"},     // rounding carries into the exponent
  };
  for (const FormatCase& c : cases) EXPECT_EQ(FormatTagValue(c.value), c.text) << c.value;
}

TEST(FormatTagValue, NonFiniteValuesWriteZero) {
  EXPECT_EQ(FormatTagValue(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(FormatTagValue(std::numeric_limits<double>::quiet_NaN()), "0");
}

TEST(ValueTag, BuildsTheStoredLayout) {
  EXPECT_EQ(BuildValueTag(2, 2, 12.5, {10, 15, 30}), "022:12.5_101530");
  EXPECT_EQ(BuildValueTag(13, 0, 0.001, {0, 0, 5}), "130:0.001_000005");
  EXPECT_EQ(BuildValueTag(ValueTag{7, 6, -1.5e20, {23, 59, 59}}), "076:-1.5E+20_235959");
}

TEST(ValueTag, ParsesTheStoredExample) {
  const auto t = ParseValueTag("022:12.5_101530");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->unit, 2);
  EXPECT_EQ(t->decimals, 2);
  EXPECT_DOUBLE_EQ(t->value, 12.5);
  EXPECT_EQ(t->time.hour, 10);
  EXPECT_EQ(t->time.minute, 15);
  EXPECT_EQ(t->time.second, 30);
}

TEST(ValueTag, RoundTripsEveryKindOfValue) {
  for (double v : {12.5, 0.001, 1234567.891, -3.0, 1.5e20, 1e-5, 1.0 / 3.0, 0.0}) {
    const auto t = ParseValueTag(BuildValueTag(11, 4, v, {8, 9, 10}));
    ASSERT_TRUE(t) << v;
    EXPECT_EQ(t->unit, 11);
    EXPECT_EQ(t->decimals, 4);
    EXPECT_NEAR(t->value, v, std::abs(v) * 1e-14) << v;
  }
}

TEST(ValueTag, ReadsTheOlderBlankAndLeadingPointForms) {
  // Value texts with the classic leading blank or without the leading zero.
  const auto a = ParseValueTag("022: 12.5_101530");
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->value, 12.5);
  const auto b = ParseValueTag("022:.5_101530");
  ASSERT_TRUE(b);
  EXPECT_DOUBLE_EQ(b->value, 0.5);
}

TEST(ValueTag, RejectsShortAndGarbledTags) {
  for (const char* bad : {
           "", "0", "022:_101530",     // no value at all
           "022:12.5_10153",           // short time
           "0x2:12.5_101530",          // unit not a number
           "02a:12.5_101530",          // decimals not a number
           "022;12.5_101530",          // separator missing
           "022:12.5-101530",
           "142:12.5_101530",          // no unit 14
           "029:12.5_101530",          // no decimals 9
           "022:12x5_101530",          // value not a number
           "022:12.5_106130",          // minute 61
           "022:12.5_1015a0",
           "022:nan_101530",
       }) {
    EXPECT_FALSE(ParseValueTag(bad)) << bad;
  }
}

TEST(UniqueValueTag, KeepsAFreshTag) {
  Collections o;
  o.lblKeiroS[0].Tag = "022:12.5_101530";
  EXPECT_EQ(UniqueValueTag("022:12.5_101531", o), "022:12.5_101531");
  EXPECT_EQ(UniqueValueTag("022:12.6_101530", o), "022:12.6_101530");
}

TEST(UniqueValueTag, StepsPastRouteAndAreaTagsOfTheSameSecond) {
  Collections o;
  o.lblKeiroS[0].Tag = "022:12.5_101530";
  o.lblKeiroS.push_back({});
  o.lblKeiroS[1].Tag = "022:12.5_101531";
  o.lblMensekiS[0].Tag = "022:12.5_101532";
  EXPECT_EQ(UniqueValueTag("022:12.5_101530", o), "022:12.5_101533");
}

TEST(UniqueValueTag, WrapsAtMidnight) {
  Collections o;
  o.lblMensekiS[0].Tag = "001:7_235959";
  EXPECT_EQ(UniqueValueTag("001:7_235959", o), "001:7_000000");
}

TEST(UniqueValueTag, IgnoresDistanceLabels) {
  Collections o;
  o.lblKyori[0].Tag = "022:12.5_101530";
  EXPECT_EQ(UniqueValueTag("022:12.5_101530", o), "022:12.5_101530");
}

}  // namespace
}  // namespace planimo
