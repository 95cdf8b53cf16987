#include "geometry/distance.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/angles.h"

namespace planimo {
namespace {

TEST(PlaneDistance, Pythagoras) {
  EXPECT_EQ(PlaneDistance(10, 10, 13, 14), 5.0f);
  EXPECT_EQ(PlaneDistance(13, 14, 10, 10), 5.0f);
  EXPECT_EQ(PlaneDistance(1, 1, 1, 1), 0.0f);
}

TEST(GeoDistance, ArcMinuteOfLatitudeIs1852Metres) {
  EXPECT_NEAR(GeoDistance(500000, 130000, 500000, 130060), 1852, 1e-9);
  EXPECT_NEAR(GeoDistance(500000, 130060, 500000, 130000), 1852, 1e-9);
}

TEST(GeoDistance, LongitudeShrinksWithTheMeanLatitude) {
  // At 60 degrees north a second of longitude is half a second of latitude.
  EXPECT_NEAR(GeoDistance(500000, 216000, 500060, 216000), 926, 1e-6);
  EXPECT_NEAR(GeoDistance(500000, 215000, 500060, 217000),
              std::hypot(926.0, 2000 * 1852.0 / 60), 1e-3);
}

struct PointAtCase {
  const char* what;
  float x1, y1;
  PointF expected;
};

TEST(PointAtDistance, FiveMillimetresTowardsThePointer) {
  const PointAtCase cases[] = {
      {"right", 20, 10, {15, 10}},       {"left", 0, 10, {5, 10}},
      {"above", 10, 0, {10, 5}},         {"below", 10, 20, {10, 15}},
      {"same point", 10, 10, {10, 10}},  {"down right", 13, 14, {13, 14}},
      {"up left", 7, 6, {7, 6}},         {"down left", 7, 14, {7, 14}},
      {"up right", 13, 6, {13, 6}},      {"far left", -290, 10, {5, 10}},
  };
  for (const auto& c : cases) {
    const PointF p = PointAtDistance(10, 10, c.x1, c.y1, 5);
    EXPECT_NEAR(p.x, c.expected.x, 1e-5) << c.what;
    EXPECT_NEAR(p.y, c.expected.y, 1e-5) << c.what;
  }
}

TEST(GeoPointAtDistance, LandsAtTheLengthInTheDirection) {
  const double lon0 = 500000, lat0 = 130000;
  struct Case {
    double dlon, dlat;
  };
  const Case directions[] = {{0, 100}, {0, -100}, {100, 0}, {-100, 0},
                             {100, 100}, {-100, 100}, {100, -70}, {-30, -100}};
  for (const auto& d : directions) {
    const GeoPos target{lon0 + d.dlon, lat0 + d.dlat};
    const GeoPos e = GeoPointAtDistance(lon0, lat0, target.lon, target.lat, 500);
    EXPECT_NEAR(GeoDistance(lon0, lat0, e.lon, e.lat), 500, 0.5) << d.dlon << "," << d.dlat;
    // Same quadrant as the target.
    EXPECT_GE((e.lon - lon0) * d.dlon, 0) << d.dlon << "," << d.dlat;
    EXPECT_GE((e.lat - lat0) * d.dlat, 0) << d.dlon << "," << d.dlat;
  }
  EXPECT_EQ(GeoPointAtDistance(lon0, lat0, lon0, lat0, 500), (GeoPos{lon0, lat0}));
  EXPECT_EQ(GeoPointAtDistance(lon0, lat0, lon0, lat0 + 1, 1852), (GeoPos{lon0, lat0 + 60}));
}

}  // namespace
}  // namespace planimo
