#include "geometry/shift_constraint.h"

#include <cmath>

namespace planimo {

namespace {
constexpr double kSnapThreshold = 10;  // mm
}  // namespace

PointF ApplyShiftConstraint(PointF start, PointF pointer, bool shiftDown) {
  if (!shiftDown) return pointer;
  const double dy = std::fabs(static_cast<double>(start.y) - pointer.y);
  const double dx = std::fabs(static_cast<double>(start.x) - pointer.x);
  if (dy < kSnapThreshold) return {pointer.x, start.y};
  if (dx < kSnapThreshold) return {start.x, pointer.y};
  const double x = start.x > pointer.x ? start.x - dy : start.x + dy;
  const double y = start.y > pointer.y ? start.y - dy : start.y + dy;
  return {ToSingle(x), ToSingle(y)};
}

}  // namespace planimo
