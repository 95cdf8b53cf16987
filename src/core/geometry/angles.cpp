#include "geometry/angles.h"

#include <cmath>

#include "geometry/points.h"

namespace planimo {

double LineAngle(float x1, float y1, float x2, float y2, bool inDegrees) {
  const double dx = static_cast<double>(x1) - x2;
  const double dy = static_cast<double>(y1) - y2;
  if (dx == 0) return inDegrees ? 90.0 : kPi / 180 * 90;
  if (dy == 0) return 0.0;
  const double a = std::atan(dy / dx);
  return inDegrees ? 180 / kPi * a : a;
}

float PlaneAngle(double x0, double y0, double x1, double y1) {
  if (x1 == 0 || x0 == 0 || y1 == 0 || y0 == 0) return 0.0f;
  const double dX = x1 - x0;
  const double dY = y0 - y1;  // y grows downwards on the picture
  if (dX == 0) return dY > 0 ? 90.0f : -90.0f;
  if (dY == 0) return dX >= 0 ? 0.0f : 180.0f;
  const double a = 180 / kPi * std::atan(dY / dX);
  if (dX > 0) return ToSingle(a);
  return ToSingle(dY >= 0 ? a + 180 : a - 180);
}

float GeoBearing(double lon0, double lat0, double lon1, double lat1) {
  if (lon1 == 0 || lon0 == 0 || lat1 == 0 || lat0 == 0) return 0.0f;
  const double dX = lon1 - lon0;
  const double dY = lat1 - lat0;
  if (dX == 0) return dY <= 0 ? 180.0f : 0.0f;
  if (dY == 0) return dX >= 0 ? 90.0f : 270.0f;
  const double h = 180 / kPi * std::atan(dY / dX);
  return ToSingle(dX > 0 ? 90 - h : 270 - h);
}

}  // namespace planimo
