#include "geometry/polygon.h"

#include <gtest/gtest.h>

#include <vector>

namespace planimo {
namespace {

struct AreaCase {
  const char* what;
  std::vector<PointD> points;
  double area;
};

TEST(PolygonArea, ShoelaceInEitherOrientation) {
  const AreaCase cases[] = {
      {"unit square, clockwise on screen", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 1},
      {"unit square, counter-clockwise", {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, 1},
      {"offset triangle", {{10, 10}, {14, 10}, {10, 13}}, 6},
      {"L shape", {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, 3},
      {"segment", {{0, 0}, {5, 5}}, 0},
      {"single point", {{3, 4}}, 0},
      {"none", {}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(PolygonArea(c.points), c.area) << c.what;
  }
}

}  // namespace
}  // namespace planimo
