#include "geometry/distance.h"

#include <cmath>

#include "geometry/angles.h"

namespace planimo {

namespace {

// Cosine of the mean latitude of two latitudes in arc-seconds.
double MeanLatitudeCos(double lat0, double lat1) {
  return std::cos(kPi / 180 * ((lat1 + lat0) / 2 / 3600));
}

}  // namespace

float PlaneDistance(float x1, float y1, float x2, float y2) {
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  return ToSingle(std::sqrt(dy * dy + dx * dx));
}

double GeoDistance(double lon0, double lat0, double lon1, double lat1) {
  const double k = kMetresPerArcMinute / 60;
  const double m = MeanLatitudeCos(lat0, lat1);
  const double east = (lon1 - lon0) * k * m;
  const double north = k * (lat1 - lat0);
  return std::sqrt(east * east + north * north);
}

PointF PointAtDistance(float x0, float y0, float x1, float y1, double L) {
  const double dx = static_cast<double>(x1) - x0;
  const double dy = static_cast<double>(y1) - y0;
  double x = x0;
  double y = y0;
  if (dx != 0 && dy != 0) {
    const double t = std::atan(dy / dx);
    // arctan only covers the right half-plane; mirror for targets to the left.
    const double sign = x1 <= x0 ? -1.0 : 1.0;
    x = x0 + sign * std::cos(t) * L;
    y = y0 + sign * std::sin(t) * L;
  } else if (dx != 0) {
    x = x1 > x0 ? x0 + L : x0 - L;
  } else if (dy != 0) {
    y = y1 > y0 ? y0 + L : y0 - L;
  }
  return {ToSingle(x), ToSingle(y)};
}

GeoPos GeoPointAtDistance(double lon0, double lat0, double lon1, double lat1, float L) {
  const double ls = L / kMetresPerArcMinute * 60;  // arc-seconds of latitude
  const double m = MeanLatitudeCos(lat0, lat1);
  const double dlon = lon1 - lon0;
  const double dlat = lat1 - lat0;
  if (dlon != 0 && dlat != 0) {
    const double t = std::atan(dlat / (dlon * m));
    const double a = std::cos(t) * ls / m;
    const double b = std::sin(t) * ls;
    if (lon0 >= lon1) return {lon0 - a, lat0 - b};
    return {lon0 + a, lat0 + b};
  }
  if (dlon != 0) return {lon1 > lon0 ? lon0 + ls / m : lon0 - ls / m, lat0};
  if (dlat != 0) return {lon0, lat1 > lat0 ? lat0 + ls : lat0 - ls};
  return {lon0, lat0};
}

}  // namespace planimo
