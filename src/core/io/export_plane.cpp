#include "io/export_plane.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/calibration.h"
#include "geometry/distance.h"
#include "geometry/tilt.h"

namespace planimo {

namespace {
constexpr double kSecondsPerDegree = 3600;
constexpr double kLatSecondMetres = kMetresPerArcMinute / 60;
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

TruePlane PlaneFor(const ProjectState& state, const std::vector<PointF>& drawing) {
  if (!HasLonLatCalibration(state)) return {};
  double south = std::numeric_limits<double>::infinity();
  double north = -south;
  for (const PointF p : drawing) {
    const GeoPos g = PictureToGeo(state, p);
    if (!IsFinite(g)) continue;
    south = std::min(south, g.lat);
    north = std::max(north, g.lat);
  }
  if (south > north) {
    south = std::min(state.GE_dblIdo0, state.GE_dblIdo1);
    north = std::max(state.GE_dblIdo0, state.GE_dblIdo1);
  }
  // The east-west length of one second at that latitude, as the length rule
  // computes it for two points straddling it.
  const double lat = (south + north) / 2;
  return {true, GeoDistance(0, lat, 1, lat)};
}

PointD DrawingToPlane(const ProjectState& state, const TruePlane& plane, PointF drawing) {
  if (plane.lonLat) {
    const GeoPos g = PictureToGeo(state, drawing);
    return {(g.lon - state.GE_tpPx00ToKei_Ll) * plane.lonSecondMetres,
            (g.lat - state.GE_tpPx00ToKei_La) * kLatSecondMetres};
  }
  const PointF r = RotatePoint(TiltCentre(state), drawing, state.GE_dblHosei[3]);
  return {r.x * state.GE_tpPtoD_r_X, -(r.y * state.GE_tpPtoD_r_Y)};
}

PointD PlaneScale(const ProjectState& state, const TruePlane& plane) {
  if (plane.lonLat) {
    return {std::fabs(state.GE_tpPtoK_r_X * plane.lonSecondMetres),
            std::fabs(state.GE_tpPtoK_r_Y * kLatSecondMetres)};
  }
  return {std::fabs(state.GE_tpPtoD_r_X), std::fabs(state.GE_tpPtoD_r_Y)};
}

std::optional<LonLat> DrawingToLonLat(const ProjectState& state, PointF drawing) {
  if (!HasLonLatCalibration(state)) return std::nullopt;
  const GeoPos g = PictureToGeo(state, drawing);
  if (!IsFinite(g)) return std::nullopt;
  return LonLat{g.lon / kSecondsPerDegree, g.lat / kSecondsPerDegree};
}

}  // namespace planimo
