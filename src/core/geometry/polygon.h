#pragma once

// Area enclosed by a closed outline of real-length points.

#include <span>

#include "geometry/points.h"

namespace planimo {

// Shoelace area of the polygon points[0..n], closed from the last point back
// to the first; the same for either orientation. Fewer than three points
// enclose nothing.
double PolygonArea(std::span<const PointD> points);

}  // namespace planimo
