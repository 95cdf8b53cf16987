#pragma once

// Lengths between points and points at a given length along a direction, on
// the plane (picture or real-length millimetres) and on the earth (a
// flat-earth approximation with one arc-minute of latitude = 1852 m).

#include "geometry/points.h"

namespace planimo {

// Metres per arc-minute of latitude.
constexpr double kMetresPerArcMinute = 1852;

// Straight length between (x1, y1) and (x2, y2).
float PlaneDistance(float x1, float y1, float x2, float y2);

// Ground length in metres between two positions given in arc-seconds; the
// longitude difference is shortened by the cosine of the mean latitude.
double GeoDistance(double lon0, double lat0, double lon1, double lat1);

// The point at length L from (x0, y0) in the direction of (x1, y1); the
// start itself when both points coincide.
PointF PointAtDistance(float x0, float y0, float x1, float y1, double L);

// The position L metres from (lon0, lat0) in the direction of (lon1, lat1);
// the start itself when both positions coincide.
GeoPos GeoPointAtDistance(double lon0, double lat0, double lon1, double lat1, float L);

}  // namespace planimo
