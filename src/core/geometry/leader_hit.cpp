#include "geometry/leader_hit.h"

#include <algorithm>
#include <cmath>

namespace planimo {

namespace {

constexpr double kEndTolerance = 2;    // end points and axis-parallel bodies
constexpr double kSlopeTolerance = 1;  // vertical distance to a sloped body
constexpr double kScanStep = 0.001;    // abscissa step of the sloped test
constexpr int kScanSteps = 2000;       // steps across x - 1 .. x + 1

bool Within(double v, double centre, double tolerance) {
  return centre - tolerance <= v && v <= centre + tolerance;
}

// Whether s * t + c comes within kSlopeTolerance of y for some t = x - 1 +
// k * kScanStep, k = 0 .. kScanSteps. The line is monotonic in t, so the hit
// steps form one run; its first step is found in closed form and confirmed
// by evaluating its neighbours, which gives the answer of a full scan.
bool SlopedHit(double s, double c, double x, double y) {
  const double t0 = x - 1;
  const double a = (y - kSlopeTolerance - c) / s;
  const double b = (y + kSlopeTolerance - c) / s;
  const double lo = std::min(a, b);
  if (!std::isfinite(lo)) return false;
  const double first = std::clamp(std::ceil((lo - t0) / kScanStep), 0.0, double{kScanSteps});
  const int k0 = static_cast<int>(first);
  for (int k = std::max(0, k0 - 1); k <= std::min(kScanSteps, k0 + 1); ++k) {
    if (Within(s * (t0 + k * kScanStep) + c, y, kSlopeTolerance)) return true;
  }
  return false;
}

}  // namespace

LeaderHit HitLeaderEnd(const Document& doc, float x, float y) {
  const auto& lines = doc.objects.lineHikidashi;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const LineRecord& l = lines[i];
    if (!l.Visible) continue;
    if (Within(l.X1, x, kEndTolerance) && Within(l.Y1, y, kEndTolerance)) {
      return {static_cast<int>(i), kHandleFirstEnd};
    }
    if (Within(l.X2, x, kEndTolerance) && Within(l.Y2, y, kEndTolerance)) {
      return {static_cast<int>(i), kHandleSecondEnd};
    }
  }
  return {};
}

LeaderHit HitLeaderLine(const Document& doc, float x, float y) {
  const auto& lines = doc.objects.lineHikidashi;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const LineRecord& l = lines[i];
    if (!l.Visible) continue;
    const double xmin = std::min(l.X1, l.X2), xmax = std::max(l.X1, l.X2);
    const double ymin = std::min(l.Y1, l.Y2), ymax = std::max(l.Y1, l.Y2);
    const bool inExtent = xmin - kEndTolerance <= x && x <= xmax + kEndTolerance &&
                          ymin - kEndTolerance <= y && y <= ymax + kEndTolerance;
    const int index = static_cast<int>(i);
    if (xmax == xmin) {
      if (Within(xmax, x, kEndTolerance) && inExtent) return {index, kHandleBody};
    } else if (ymax == ymin) {
      if (Within(ymax, y, kEndTolerance) && inExtent) return {index, kHandleBody};
    } else if (inExtent) {
      const bool firstIsLeft = l.X1 < l.X2;
      const double yAtXmin = firstIsLeft ? l.Y1 : l.Y2;
      const double yAtXmax = firstIsLeft ? l.Y2 : l.Y1;
      const double s = (yAtXmin - yAtXmax) / (xmin - xmax);
      const double c = yAtXmax - xmax * s;
      if (SlopedHit(s, c, x, y)) return {index, kHandleSlopedBody};
    }
  }
  return {};
}

}  // namespace planimo
