#pragma once

// Directions of segments: the tilt angle of a picked line, the direction of
// a measured line on the drawing and the compass bearing between positions.

namespace planimo {

// Pi as the program has always written it; every degree/radian conversion
// uses this value so that stored angles reproduce exactly.
constexpr double kPi = 3.14159265358979;

// Angle of the line (x1, y1)-(x2, y2) against the horizontal, in (-90, 90]
// degrees (or the same in radians); a line falling to the right on the
// y-down picture is positive, a vertical line is 90.
double LineAngle(float x1, float y1, float x2, float y2, bool inDegrees);

// Direction from (x0, y0) to (x1, y1), counter-clockwise from +x on the
// y-down picture, in (-180, 180] degrees. Any coordinate exactly 0 gives 0;
// identical points give -90.
float PlaneAngle(double x0, double y0, double x1, double y1);

// Compass bearing from (lon0, lat0) to (lon1, lat1), clockwise from north,
// in [0, 360) degrees, on the raw arc-second differences. Any value exactly
// 0 gives 0; identical positions give 180.
float GeoBearing(double lon0, double lat0, double lon1, double lat1);

}  // namespace planimo
