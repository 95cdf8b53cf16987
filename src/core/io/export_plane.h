#pragma once

// Where kept records lie in the world, for the outputs that leave the
// drawing behind (CAD and GIS): a true-size plane, y up, and longitude and
// latitude in degrees.

#include <optional>

#include "geometry/points.h"
#include "model/document.h"

namespace planimo {

// A record coordinate (view millimetres at the zoom the records stand at)
// as drawing millimetres at 100 %.
PointF RecordToDrawing(const Document& doc, float x, float y);

// True when the project measures by two correspondence points of known
// longitude and latitude and their coefficients have been derived.
bool HasLonLatCalibration(const ProjectState& state);

// A drawing point on the true-size plane, y pointing up: straightened by the
// tilt correction and scaled by the X/Y ratios exactly as the distance and
// area measurements do, so a kept length or area is that length or area
// there. The unit is the project's distance unit for the known-distance
// calibration and metres on a local plane for the longitude/latitude one.
PointD DrawingToPlane(const ProjectState& state, PointF drawing);

// The longitude and latitude of a drawing point, in degrees (east and
// north positive); empty without a longitude/latitude calibration or for a
// point the calibration cannot place.
struct LonLat {
  double lon = 0;
  double lat = 0;
};
std::optional<LonLat> DrawingToLonLat(const ProjectState& state, PointF drawing);

}  // namespace planimo
