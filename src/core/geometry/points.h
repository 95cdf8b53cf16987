#pragma once

// The plain point types of the measuring arithmetic: picture and real-length
// points are Singles, rotated intermediates may stay Doubles, geographic
// positions are Doubles in arc-seconds.

#include <cmath>
#include <limits>

namespace planimo {

struct PointF {
  float x = 0;
  float y = 0;
  bool operator==(const PointF&) const = default;
};

struct PointD {
  double x = 0;
  double y = 0;
  bool operator==(const PointD&) const = default;
};

// Longitude (east positive) and latitude (north positive) in arc-seconds.
struct GeoPos {
  double lon = 0;
  double lat = 0;
  bool operator==(const GeoPos&) const = default;
};

// Rounds a Double result to Single. A value beyond the Single range becomes
// an infinity of its sign (the overflow the callers must see), never an
// undefined conversion.
inline float ToSingle(double v) {
  // Doubles from here on round to 2^128, which is past the largest Single.
  constexpr double kOverflow = 0x1p128 - 0x1p103;
  if (std::fabs(v) >= kOverflow) {
    return std::copysign(std::numeric_limits<float>::infinity(), v);
  }
  return static_cast<float>(v);
}

// A degenerate calibration (a ratio of 0, coinciding points) shows up as an
// infinite or NaN coordinate; callers test results with these before use.
inline bool IsFinite(PointF p) { return std::isfinite(p.x) && std::isfinite(p.y); }
inline bool IsFinite(PointD p) { return std::isfinite(p.x) && std::isfinite(p.y); }
inline bool IsFinite(GeoPos p) { return std::isfinite(p.lon) && std::isfinite(p.lat); }

}  // namespace planimo
