#include "geometry/specified_end.h"

#include <gtest/gtest.h>

#include "geometry/calibration.h"
#include "geometry/distance.h"
#include "geometry/tilt.h"

namespace planimo {
namespace {

TEST(SpecifiedDistanceEnd, EndAndAngleTextOnAPlainScale) {
  ProjectState s;
  s.GE_tpPtoD_r_X = 2;
  s.GE_tpPtoD_r_Y = 2;
  struct Case {
    PointF mouse;
    PointF end;
    const char* text;
  };
  const Case cases[] = {
      {{50, 10}, {30, 10}, "0.0゜"},     // 20 real units = 10 mm to the right
      {{20, 50}, {20, 20}, "-90.0゜"},   // downwards
      {{5, 10}, {10, 10}, "180.0゜"},    // to the left
      {{40, 30}, {27.0710678f, 17.0710678f}, "-45.0゜"},
  };
  for (const auto& c : cases) {
    const auto e = SpecifiedDistanceEnd(s, {20, 10}, c.mouse, 20);
    ASSERT_TRUE(e.has_value());
    EXPECT_NEAR(e->point.x, c.end.x, 1e-4) << c.text;
    EXPECT_NEAR(e->point.y, c.end.y, 1e-4) << c.text;
    EXPECT_EQ(e->directionText, c.text);
  }
}

TEST(SpecifiedDistanceEnd, FollowsTheTiltCorrection) {
  ProjectState s;
  s.GE_sngHosei = {0, 0, 10, 10};
  ASSERT_TRUE(ComputeTiltCorrection(s));
  const auto e = SpecifiedDistanceEnd(s, {10, 10}, {50, 50}, 10);  // along the tilt line
  ASSERT_TRUE(e.has_value());
  EXPECT_NEAR(e->point.x, 10 + 10 / 1.41421356, 1e-4);
  EXPECT_NEAR(e->point.y, 10 + 10 / 1.41421356, 1e-4);
  EXPECT_EQ(e->directionText, "0.0゜");  // level once straightened
}

TEST(SpecifiedDistanceEnd, ZeroRatioIsReportedNotReturned) {
  ProjectState s;
  s.GE_tpPtoD_r_X = 0;
  EXPECT_FALSE(SpecifiedDistanceEnd(s, {10, 10}, {50, 10}, 20).has_value());
}

ProjectState LatLongProject() {
  ProjectState s;
  s.GE_tpPiccel_1X = 10;
  s.GE_tpPiccel_1Y = 10;
  s.GE_tpPiccel_2X = 110;
  s.GE_tpPiccel_2Y = 110;
  s.GE_dblKeido0 = 500000;
  s.GE_dblIdo0 = 130000;
  s.GE_dblKeido1 = 500100;
  s.GE_dblIdo1 = 129900;
  EXPECT_TRUE(ComputeLatLongCalibration(s));
  return s;
}

TEST(SpecifiedDistanceEndGeo, LengthInMetresAndBearingText) {
  const ProjectState s = LatLongProject();
  struct Case {
    PointF mouse;
    const char* text;
  };
  const Case cases[] = {{{80, 40}, "90.0"}, {{40, 10}, "0.0"}, {{40, 80}, "180.0"},
                        {{10, 40}, "270.0"}, {{70, 10}, "45.0"}};
  for (const auto& c : cases) {
    const auto e = SpecifiedDistanceEndGeo(s, {40, 40}, c.mouse, 300);
    ASSERT_TRUE(e.has_value()) << c.text;
    EXPECT_EQ(e->directionText, c.text);
    const GeoPos a = PictureToGeo(s, {40, 40});
    const GeoPos b = PictureToGeo(s, e->point);
    EXPECT_NEAR(GeoDistance(a.lon, a.lat, b.lon, b.lat), 300, 0.1) << c.text;
  }
}

TEST(SpecifiedDistanceEndGeo, OverflowIsReportedNotReturned) {
  ProjectState s = LatLongProject();
  s.GE_tpPtoK_r_X = 1e308;
  EXPECT_FALSE(SpecifiedDistanceEndGeo(s, {10, 10}, {50, 20}, 100).has_value());
}

}  // namespace
}  // namespace planimo
