#include "geometry/tilt.h"

#include <cmath>

#include "geometry/angles.h"

namespace planimo {

bool ComputeTiltCorrection(ProjectState& state) {
  const auto& h = state.GE_sngHosei;
  const double degrees = LineAngle(h[0], h[1], h[2], h[3], true);
  const double radians = LineAngle(h[0], h[1], h[2], h[3], false);
  const double correction = -degrees;
  const double correctionRad = kPi / 180 * correction;
  if (!std::isfinite(degrees) || !std::isfinite(radians) || !std::isfinite(correctionRad)) {
    return false;
  }
  state.GE_dblHosei = {degrees, correction, radians, correctionRad};
  return true;
}

PointD RotatePointD(PointF centre, PointD p, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double cx = centre.x;
  const double cy = centre.y;
  return {c * p.x - s * p.y + (1 - c) * cx + s * cy,
          s * p.x + c * p.y + (1 - c) * cy - s * cx};
}

PointF RotatePoint(PointF centre, PointF p, double angle) {
  const PointD r = RotatePointD(centre, PointD{p.x, p.y}, angle);
  return {ToSingle(r.x), ToSingle(r.y)};
}

}  // namespace planimo
