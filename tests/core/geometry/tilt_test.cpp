#include "geometry/tilt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/angles.h"

namespace planimo {
namespace {

TEST(ComputeTiltCorrection, FortyFiveDegreeLine) {
  ProjectState s;
  s.GE_sngHosei = {0, 0, 10, 10};
  ASSERT_TRUE(ComputeTiltCorrection(s));
  EXPECT_NEAR(s.GE_dblHosei[0], 45, 1e-12);
  EXPECT_NEAR(s.GE_dblHosei[1], -45, 1e-12);
  EXPECT_NEAR(s.GE_dblHosei[2], kPi / 4, 1e-12);
  EXPECT_NEAR(s.GE_dblHosei[3], -kPi / 4, 1e-12);

  const PointF r = RotatePoint(TiltCentre(s), {10, 10}, s.GE_dblHosei[3]);
  EXPECT_NEAR(r.x, 14.14214f, 1e-5);
  EXPECT_NEAR(r.y, 0.0f, 1e-5);
}

TEST(ComputeTiltCorrection, StraighteningLevelsTheTiltLineAndUndoes) {
  ProjectState s;
  s.GE_sngHosei = {10, 10, 100, 25};
  ASSERT_TRUE(ComputeTiltCorrection(s));
  const PointF centre = TiltCentre(s);
  const PointF level = RotatePoint(centre, {100, 25}, s.GE_dblHosei[3]);
  EXPECT_NEAR(level.y, 10.0f, 1e-4);
  EXPECT_NEAR(level.x, 10 + std::hypot(90.0, 15.0), 1e-4);

  const PointF p{37.5f, 81.25f};
  const PointF back = RotatePoint(centre, RotatePoint(centre, p, s.GE_dblHosei[3]), s.GE_dblHosei[2]);
  EXPECT_NEAR(back.x, p.x, 1e-4);
  EXPECT_NEAR(back.y, p.y, 1e-4);
}

TEST(ComputeTiltCorrection, DefaultHorizontalLineGivesNoCorrection) {
  ProjectState s;
  s.GE_dblHosei = {1, 2, 3, 4};
  ASSERT_TRUE(ComputeTiltCorrection(s));
  EXPECT_EQ(s.GE_dblHosei, (std::array<double, 4>{0, 0, 0, 0}));
}

TEST(ComputeTiltCorrection, RefusesNonFiniteTiltPoints) {
  ProjectState s;
  s.GE_sngHosei = {0, std::numeric_limits<float>::quiet_NaN(), 10, 10};
  s.GE_dblHosei = {1, 2, 3, 4};
  EXPECT_FALSE(ComputeTiltCorrection(s));
  EXPECT_EQ(s.GE_dblHosei, (std::array<double, 4>{1, 2, 3, 4}));
}

TEST(RotatePoint, OverflowBecomesInfinityNotGarbage) {
  const PointF r = RotatePoint({0, 0}, {3e38f, 3e38f}, kPi / 4);
  EXPECT_FALSE(IsFinite(r));
  const PointD d = RotatePointD({0, 0}, {3e38, 3e38}, kPi / 4);
  EXPECT_TRUE(IsFinite(d));  // Doubles keep the range
}

}  // namespace
}  // namespace planimo
