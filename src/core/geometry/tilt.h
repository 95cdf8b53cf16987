#pragma once

// Tilt correction: a drawing scanned askew is straightened by rotating every
// picked point about the first tilt point until the picked tilt line lies
// horizontal.

#include "geometry/points.h"
#include "model/project_state.h"

namespace planimo {

// Derives GE_dblHosei(0..3) (tilt in degrees, correction in degrees, tilt in
// radians, correction in radians) from the tilt points GE_sngHosei. Returns
// false and leaves the state unchanged if a value would not be finite.
bool ComputeTiltCorrection(ProjectState& state);

// Rotates p about centre by angle radians (y-down picture); Single result.
PointF RotatePoint(PointF centre, PointF p, double angle);

// The same for a Double point, keeping Doubles.
PointD RotatePointD(PointF centre, PointD p, double angle);

// The rotation centre of the tilt correction, (GE_sngHosei(0), (1)).
inline PointF TiltCentre(const ProjectState& state) {
  return {state.GE_sngHosei[0], state.GE_sngHosei[1]};
}

}  // namespace planimo
