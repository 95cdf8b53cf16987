#pragma once

// Where kept records lie in the world, for the outputs that leave the
// drawing behind (CAD and GIS): a true-size plane, y up, and longitude and
// latitude in degrees.

#include <optional>
#include <vector>

#include "geometry/points.h"
#include "model/document.h"

namespace planimo {

// A record coordinate (view millimetres at the zoom the records stand at)
// as drawing millimetres at 100 %.
PointF RecordToDrawing(const Document& doc, float x, float y);

// True when the project measures by two correspondence points of known
// longitude and latitude and their coefficients have been derived.
bool HasLonLatCalibration(const ProjectState& state);

// The true-size plane, y pointing up, on which kept lengths and areas are
// those lengths and areas. The known-distance calibration straightens the
// drawing by the tilt correction and scales it by the X/Y ratios exactly as
// the measurements do, in the project's distance unit. The
// longitude/latitude calibration lays the read-out's longitude and latitude
// on a local plane in metres, east and north: a longitude second as long as
// the length rule makes it at the reference latitude, so a distance whose
// ends straddle that latitude evenly keeps its length exactly.
struct TruePlane {
  bool lonLat = false;
  double lonSecondMetres = 0;  // longitude/latitude calibration only
};

// The plane for the given drawing points (drawing millimetres): for the
// longitude/latitude calibration, referred to the middle of their range of
// latitudes (of the correspondence points when there are none), which keeps
// every east-west length within the least the length rule allows.
TruePlane PlaneFor(const ProjectState& state, const std::vector<PointF>& drawing);

// A drawing point on the plane.
PointD DrawingToPlane(const ProjectState& state, const TruePlane& plane, PointF drawing);

// Plane units per straightened drawing millimetre, across and along the
// sheet: for sizes that follow the drawing (markers, text heights).
PointD PlaneScale(const ProjectState& state, const TruePlane& plane);

// The longitude and latitude of a drawing point, in degrees (east and
// north positive); empty without a longitude/latitude calibration or for a
// point the calibration cannot place.
struct LonLat {
  double lon = 0;
  double lat = 0;
};
std::optional<LonLat> DrawingToLonLat(const ProjectState& state, PointF drawing);

}  // namespace planimo
