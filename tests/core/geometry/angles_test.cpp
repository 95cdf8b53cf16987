#include "geometry/angles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace planimo {
namespace {

struct LineAngleCase {
  float x1, y1, x2, y2;
  double degrees;
};

TEST(LineAngle, DegreesAcrossDirections) {
  const LineAngleCase cases[] = {
      {10, 10, 100, 10, 0},     // horizontal
      {10, 10, 10, 50, 90},     // vertical
      {0, 0, 10, 10, 45},       // falling to the right on the screen
      {0, 0, 10, -10, -45},     // rising to the right
      {100, 10, 10, 10, 0},     // direction of travel does not matter
      {10, 50, 10, 10, 90},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(LineAngle(c.x1, c.y1, c.x2, c.y2, true), c.degrees, 1e-12)
        << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2;
  }
}

TEST(LineAngle, RadiansUseTheProgramsPi) {
  EXPECT_DOUBLE_EQ(LineAngle(10, 10, 10, 50, false), 3.14159265358979 / 180 * 90);
  EXPECT_DOUBLE_EQ(LineAngle(0, 0, 10, 10, false), std::atan(1.0));
  EXPECT_EQ(LineAngle(10, 10, 100, 10, false), 0.0);
}

struct PlaneAngleCase {
  const char* what;
  double x0, y0, x1, y1;
  float expected;
};

TEST(PlaneAngle, CounterClockwiseOnAYDownPicture) {
  const PlaneAngleCase cases[] = {
      {"start at x = 0", 0, 5, 10, 50, 0},
      {"end at y = 0", 5, 5, 10, 0, 0},
      {"identical points", 5, 5, 5, 5, -90},
      {"straight right", 10, 10, 20, 10, 0},
      {"straight left", 10, 10, 5, 10, 180},
      {"straight up", 10, 10, 10, 5, 90},
      {"straight down", 10, 10, 10, 20, -90},
      {"up right", 10, 20, 20, 10, 45},
      {"up left", 20, 20, 10, 10, 135},
      {"down left", 20, 10, 10, 20, -135},
      {"down right", 10, 10, 20, 20, -45},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(PlaneAngle(c.x0, c.y0, c.x1, c.y1), c.expected, 1e-4) << c.what;
  }
}

struct BearingCase {
  const char* what;
  double lon1, lat1;
  float expected;
};

TEST(GeoBearing, ClockwiseFromNorth) {
  const double lon0 = 500000, lat0 = 130000;
  const BearingCase cases[] = {
      {"north", lon0, lat0 + 100, 0},     {"east", lon0 + 100, lat0, 90},
      {"south", lon0, lat0 - 100, 180},   {"west", lon0 - 100, lat0, 270},
      {"identical", lon0, lat0, 180},     {"north-east", lon0 + 100, lat0 + 100, 45},
      {"north-west", lon0 - 100, lat0 + 100, 315},
      {"south-east", lon0 + 100, lat0 - 100, 135},
      {"south-west", lon0 - 100, lat0 - 100, 225},
      {"a zero latitude", lon0 + 100, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(GeoBearing(lon0, lat0, c.lon1, c.lat1), c.expected, 1e-4) << c.what;
  }
}

}  // namespace
}  // namespace planimo
