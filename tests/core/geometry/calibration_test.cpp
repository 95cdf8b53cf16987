#include "geometry/calibration.h"

#include <gtest/gtest.h>

#include <limits>

#include "geometry/tilt.h"

namespace planimo {
namespace {

// Two correspondence points 100 mm apart across and 50 mm down, 100
// arc-seconds apart in longitude and 50 in latitude (north is up).
ProjectState LatLongProject() {
  ProjectState s;
  s.GE_tpPiccel_1X = 10;
  s.GE_tpPiccel_1Y = 10;
  s.GE_tpPiccel_2X = 110;
  s.GE_tpPiccel_2Y = 60;
  s.GE_dblKeido0 = 500000;
  s.GE_dblIdo0 = 130000;
  s.GE_dblKeido1 = 500100;
  s.GE_dblIdo1 = 129950;
  return s;
}

// The ten values ComputeLatLongCalibration derives, for comparing states.
std::array<double, 10> Derived(const ProjectState& s) {
  return {s.GE_tpPtoK_r_X,     s.GE_tpPtoK_r_Y,     s.GE_tpPx00ToKei_Ll, s.GE_tpPx00ToKei_La,
          s.GE_tpKtoP_r_X,     s.GE_tpKtoP_r_Y,     s.GE_tpKI00ToPx_X,   s.GE_tpKI00ToPx_Y,
          s.GE_tpPtoD_r_X,     s.GE_tpPtoD_r_Y};
}

TEST(KnownDistance, ScalesEachAxisAndBack) {
  ProjectState s;
  s.GE_tpPtoD_r_X = 2.5;
  s.GE_tpPtoD_r_Y = 0.5;
  const PointF real = PictureToDistance(s, {10, 30});
  EXPECT_EQ(real, (PointF{25, 15}));
  EXPECT_EQ(DistanceToPicture(s, real), (PointF{10, 30}));
}

TEST(KnownDistance, ZeroRatioGivesANonFinitePointBack) {
  ProjectState s;
  s.GE_tpPtoD_r_X = 0;
  EXPECT_FALSE(IsFinite(DistanceToPicture(s, {5, 5})));
  EXPECT_FALSE(IsFinite(RealToPicture(s, {5, 5})));
}

TEST(KnownDistance, RealLengthIsMeasuredOnTheStraightenedDrawing) {
  ProjectState s;
  s.GE_sngHosei = {0, 0, 10, 10};
  ASSERT_TRUE(ComputeTiltCorrection(s));
  s.GE_tpPtoD_r_X = 2;
  s.GE_tpPtoD_r_Y = 3;
  const PointF real = PictureToReal(s, {10, 10});  // lies on the tilt line
  EXPECT_NEAR(real.x, 2 * 14.142136, 1e-4);
  EXPECT_NEAR(real.y, 0, 1e-5);
  const PointF back = RealToPicture(s, real);
  EXPECT_NEAR(back.x, 10, 1e-4);
  EXPECT_NEAR(back.y, 10, 1e-4);
}

TEST(ComputeLatLongCalibration, DerivesTheLinearCoefficients) {
  ProjectState s = LatLongProject();
  ASSERT_TRUE(ComputeLatLongCalibration(s));
  EXPECT_DOUBLE_EQ(s.GE_tpPtoK_r_X, 1);
  EXPECT_DOUBLE_EQ(s.GE_tpPtoK_r_Y, -1);
  EXPECT_DOUBLE_EQ(s.GE_tpPx00ToKei_Ll, 499990);
  EXPECT_DOUBLE_EQ(s.GE_tpPx00ToKei_La, 130010);
  EXPECT_DOUBLE_EQ(s.GE_tpKtoP_r_X, 1);
  EXPECT_DOUBLE_EQ(s.GE_tpKtoP_r_Y, -1);
  EXPECT_DOUBLE_EQ(s.GE_tpKI00ToPx_X, -499990);
  EXPECT_DOUBLE_EQ(s.GE_tpKI00ToPx_Y, 130010);
  // 50 arc-seconds of latitude are 50 * 1852 / 60 m, over 50 mm.
  EXPECT_NEAR(s.GE_tpPtoD_r_Y, 1852.0 / 60, 1e-4);
  EXPECT_GT(s.GE_tpPtoD_r_X, 0);
  EXPECT_LT(s.GE_tpPtoD_r_X, 1852.0 / 60);  // a longitude second is shorter
}

TEST(ComputeLatLongCalibration, PicturePointsMapToTheirPositionsUnderTilt) {
  ProjectState s = LatLongProject();
  s.GE_sngHosei = {20, 20, 120, 35};
  ASSERT_TRUE(ComputeTiltCorrection(s));
  ASSERT_TRUE(ComputeLatLongCalibration(s));
  const GeoPos g1 = PictureToGeo(s, {10, 10});
  EXPECT_NEAR(g1.lon, 500000, 1e-3);
  EXPECT_NEAR(g1.lat, 130000, 1e-3);
  const GeoPos g2 = PictureToGeo(s, {110, 60});
  EXPECT_NEAR(g2.lon, 500100, 1e-3);
  EXPECT_NEAR(g2.lat, 129950, 1e-3);
  const PointF p2 = GeoToPicture(s, {500100, 129950});
  EXPECT_NEAR(p2.x, 110, 1e-3);
  EXPECT_NEAR(p2.y, 60, 1e-3);
}

struct RefusalCase {
  const char* what;
  void (*spoil)(ProjectState&);
};

TEST(ComputeLatLongCalibration, RefusesAndLeavesAllTenValues) {
  const RefusalCase cases[] = {
      {"latitude typed as 0-00-00", [](ProjectState& s) { s.GE_dblIdo1 = 0; }},
      {"longitude 0", [](ProjectState& s) { s.GE_dblKeido0 = 0; }},
      {"same x", [](ProjectState& s) { s.GE_tpPiccel_2X = s.GE_tpPiccel_1X; }},
      {"same y", [](ProjectState& s) { s.GE_tpPiccel_2Y = s.GE_tpPiccel_1Y; }},
      {"same longitude", [](ProjectState& s) { s.GE_dblKeido1 = s.GE_dblKeido0; }},
      {"same latitude", [](ProjectState& s) { s.GE_dblIdo1 = s.GE_dblIdo0; }},
      {"NaN tilt", [](ProjectState& s) { s.GE_dblHosei[3] = std::numeric_limits<double>::quiet_NaN(); }},
      {"overflowing longitudes", [](ProjectState& s) {
         s.GE_dblKeido0 = -1.5e308;
         s.GE_dblKeido1 = 1.5e308;
       }},
  };
  for (const auto& c : cases) {
    ProjectState s = LatLongProject();
    s.GE_tpPtoK_r_X = 7;
    s.GE_tpPtoD_r_X = 3;
    s.GE_tpKI00ToPx_Y = -2;
    c.spoil(s);
    const auto before = Derived(s);
    EXPECT_FALSE(ComputeLatLongCalibration(s)) << c.what;
    EXPECT_EQ(Derived(s), before) << c.what;
  }
}

}  // namespace
}  // namespace planimo
