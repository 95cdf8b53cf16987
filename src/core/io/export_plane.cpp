#include "io/export_plane.h"

#include <cmath>

#include "geometry/calibration.h"
#include "geometry/tilt.h"

namespace planimo {

namespace {
constexpr double kSecondsPerDegree = 3600;
}

PointF RecordToDrawing(const Document& doc, float x, float y) {
  const double zoom = doc.view.sngZoomPrev;
  return {ToSingle(x / zoom), ToSingle(y / zoom)};
}

bool HasLonLatCalibration(const ProjectState& s) {
  const double k[] = {s.GE_tpPtoK_r_X, s.GE_tpPtoK_r_Y, s.GE_tpPx00ToKei_Ll, s.GE_tpPx00ToKei_La};
  for (const double v : k) {
    if (!std::isfinite(v)) return false;
  }
  return s.GE_booModeKei && !s.GE_booModeDis && s.GE_tpPtoK_r_X != 0 && s.GE_tpPtoK_r_Y != 0;
}

PointD DrawingToPlane(const ProjectState& state, PointF drawing) {
  const PointF r = RotatePoint(TiltCentre(state), drawing, state.GE_dblHosei[3]);
  return {r.x * state.GE_tpPtoD_r_X, -(r.y * state.GE_tpPtoD_r_Y)};
}

std::optional<LonLat> DrawingToLonLat(const ProjectState& state, PointF drawing) {
  if (!HasLonLatCalibration(state)) return std::nullopt;
  const GeoPos g = PictureToGeo(state, drawing);
  if (!IsFinite(g)) return std::nullopt;
  return LonLat{g.lon / kSecondsPerDegree, g.lat / kSecondsPerDegree};
}

}  // namespace planimo
