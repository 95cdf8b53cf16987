#include "geometry/specified_end.h"

#include <cmath>

#include "geometry/angles.h"
#include "geometry/calibration.h"
#include "geometry/distance.h"
#include "geometry/number_format.h"
#include "geometry/tilt.h"

namespace planimo {

namespace {

// Straightened picture point, kept in Doubles, to longitude/latitude.
GeoPos StraightToGeo(const ProjectState& s, PointD u) {
  return {u.x * s.GE_tpPtoK_r_X + s.GE_tpPx00ToKei_Ll, u.y * s.GE_tpPtoK_r_Y + s.GE_tpPx00ToKei_La};
}

}  // namespace

std::optional<SpecifiedEnd> SpecifiedDistanceEnd(const ProjectState& state, PointF start,
                                                 PointF mouse, double L) {
  const PointF centre = TiltCentre(state);
  const PointF a = RotatePoint(centre, start, state.GE_dblHosei[3]);
  const PointF b = RotatePoint(centre, mouse, state.GE_dblHosei[3]);
  const PointF realA = PictureToDistance(state, a);
  const PointF realB = PictureToDistance(state, b);
  const PointF realE = PointAtDistance(realA.x, realA.y, realB.x, realB.y, L);
  const float angle = PlaneAngle(realA.x, realA.y, realE.x, realE.y);
  const PointF e = DistanceToPicture(state, realE);
  const PointF end = RotatePoint(centre, e, state.GE_dblHosei[2]);
  if (!IsFinite(realA) || !IsFinite(realE) || !IsFinite(end) || !std::isfinite(angle)) {
    return std::nullopt;
  }
  return SpecifiedEnd{end, FormatNumber(angle, "##0.0###゜")};
}

std::optional<SpecifiedEnd> SpecifiedDistanceEndGeo(const ProjectState& state, PointF start,
                                                    PointF mouse, float L) {
  const PointF centre = TiltCentre(state);
  const double angle = state.GE_dblHosei[3];
  const GeoPos s = StraightToGeo(state, RotatePointD(centre, {start.x, start.y}, angle));
  const GeoPos m = StraightToGeo(state, RotatePointD(centre, {mouse.x, mouse.y}, angle));
  const GeoPos e = GeoPointAtDistance(s.lon, s.lat, m.lon, m.lat, L);
  const float bearing = GeoBearing(s.lon, s.lat, m.lon, m.lat);
  const PointF end = GeoToPicture(state, e);
  if (!IsFinite(s) || !IsFinite(m) || !IsFinite(e) || !IsFinite(end) || !std::isfinite(bearing)) {
    return std::nullopt;
  }
  return SpecifiedEnd{end, FormatNumber(bearing, "##0.0###")};
}

}  // namespace planimo
