#include "geometry/dms.h"

#include <gtest/gtest.h>

#include <limits>

namespace planimo {
namespace {

struct DmsCase {
  double seconds;
  std::int16_t deg, min;
  float sec;
  const char* text;
};

TEST(SecondsToDms, SplitsAndFormats) {
  const DmsCase cases[] = {
      {0, 0, 0, 0, "000-00-00.0000"},
      {487815.5, 135, 30, 15.5f, "135-30-15.5000"},
      {3599.99999, 0, 59, 59.99999f, "000-59-60.0000"},  // rounds only in the text
      {3600, 1, 0, 0, "001-00-00.0000"},
      {648000, 180, 0, 0, "180-00-00.0000"},
      {-1, -1, 59, 59, "-001-59-59.0000"},  // floor goes below zero
  };
  for (const auto& c : cases) {
    const auto r = SecondsToDms(c.seconds);
    ASSERT_TRUE(r.has_value()) << c.seconds;
    EXPECT_EQ(r->dms.intDeg, c.deg) << c.seconds;
    EXPECT_EQ(r->dms.intMin, c.min) << c.seconds;
    EXPECT_NEAR(r->dms.sngSec, c.sec, 1e-4) << c.seconds;
    EXPECT_EQ(r->text, c.text) << c.seconds;
  }
}

TEST(SecondsToDms, RefusesWhatTheRecordCannotHold) {
  EXPECT_FALSE(SecondsToDms(32768.0 * 3600).has_value());
  EXPECT_TRUE(SecondsToDms(32767.0 * 3600).has_value());
  EXPECT_FALSE(SecondsToDms(std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(SecondsToDms(std::numeric_limits<double>::quiet_NaN()).has_value());
}

TEST(DmsToSeconds, BeyondTheSixteenBitRange) {
  EXPECT_DOUBLE_EQ(DmsToSeconds(135, 30, 15.5f), 487815.5);
  EXPECT_DOUBLE_EQ(DmsToSeconds(359, 59, 59), 1295999);  // 359 * 3600 exceeds Integer
  const auto back = SecondsToDms(DmsToSeconds(35, 41, 22.25f));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->text, "035-41-22.2500");
}

}  // namespace
}  // namespace planimo
