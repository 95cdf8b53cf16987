#pragma once

// Holding Shift while drawing keeps a segment horizontal, vertical or at 45
// degrees to its fixed start.

#include "geometry/points.h"

namespace planimo {

// Where the moving end goes for the pointer, given the fixed start. Shift
// up: the pointer itself. Shift down: horizontal when the pointer is less
// than 10 mm above or below the start, else vertical when less than 10 mm
// beside it, else on the 45-degree line whose legs equal the vertical offset.
PointF ApplyShiftConstraint(PointF start, PointF pointer, bool shiftDown);

}  // namespace planimo
