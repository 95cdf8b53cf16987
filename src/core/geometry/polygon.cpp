#include "geometry/polygon.h"

#include <cmath>

namespace planimo {

double PolygonArea(std::span<const PointD> points) {
  const std::size_t count = points.size();
  if (count == 0) return 0;
  double sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const PointD& prev = points[(i + count - 1) % count];
    const PointD& next = points[(i + 1) % count];
    sum += points[i].y * (prev.x - next.x);
  }
  return std::fabs(sum / -2);
}

}  // namespace planimo
