#include "geometry/calibration.h"

#include <cmath>

#include "geometry/distance.h"
#include "geometry/tilt.h"

namespace planimo {

PointF PictureToDistance(const ProjectState& state, PointF p) {
  return {ToSingle(p.x * state.GE_tpPtoD_r_X), ToSingle(p.y * state.GE_tpPtoD_r_Y)};
}

PointF DistanceToPicture(const ProjectState& state, PointF q) {
  return {ToSingle(q.x / state.GE_tpPtoD_r_X), ToSingle(q.y / state.GE_tpPtoD_r_Y)};
}

PointF PictureToReal(const ProjectState& state, PointF p) {
  return PictureToDistance(state, RotatePoint(TiltCentre(state), p, state.GE_dblHosei[3]));
}

PointF RealToPicture(const ProjectState& state, PointF q) {
  return RotatePoint(TiltCentre(state), DistanceToPicture(state, q), state.GE_dblHosei[2]);
}

GeoPos PictureToGeo(const ProjectState& state, PointF p) {
  const PointF u = RotatePoint(TiltCentre(state), p, state.GE_dblHosei[3]);
  return {u.x * state.GE_tpPtoK_r_X + state.GE_tpPx00ToKei_Ll,
          u.y * state.GE_tpPtoK_r_Y + state.GE_tpPx00ToKei_La};
}

PointF GeoToPicture(const ProjectState& state, GeoPos g) {
  const PointD straight{g.lon * state.GE_tpKtoP_r_X + state.GE_tpKI00ToPx_X,
                        state.GE_tpKtoP_r_Y * g.lat + state.GE_tpKI00ToPx_Y};
  const PointD p = RotatePointD(TiltCentre(state), straight, state.GE_dblHosei[2]);
  return {ToSingle(p.x), ToSingle(p.y)};
}

bool ComputeLatLongCalibration(ProjectState& s) {
  const double lon0 = s.GE_dblKeido0, lat0 = s.GE_dblIdo0;
  const double lon1 = s.GE_dblKeido1, lat1 = s.GE_dblIdo1;
  if (lon0 == 0 || lon1 == 0 || lat0 == 0 || lat1 == 0) return false;

  const PointF centre = TiltCentre(s);
  const double angle = s.GE_dblHosei[3];
  const PointF p1 = RotatePoint(centre, {s.GE_tpPiccel_1X, s.GE_tpPiccel_1Y}, angle);
  const PointF p2 = RotatePoint(centre, {s.GE_tpPiccel_2X, s.GE_tpPiccel_2Y}, angle);
  if (p1.x == p2.x || p1.y == p2.y || lon0 == lon1 || lat0 == lat1) return false;

  const double dx = static_cast<double>(p2.x) - p1.x;
  const double dy = static_cast<double>(p2.y) - p1.y;
  const double ptoKX = (lon1 - lon0) / dx;
  const double ptoKY = (lat1 - lat0) / dy;
  const double ptoKLl = lon0 - p1.x * ptoKX;
  const double ptoKLa = lat0 - p1.y * ptoKY;

  const double ktoPX = dx / (lon1 - lon0);
  const double ktoPY = dy / (lat1 - lat0);
  const double ktoPX0 = p1.x - ktoPX * lon0;
  const double ktoPY0 = p1.y - ktoPY * lat0;

  // The ground lengths are rounded to Single before the division.
  const double ptoDX = ToSingle(GeoDistance(lon0, lat0, lon1, lat0)) / std::fabs(dx);
  const double ptoDY = ToSingle(GeoDistance(lon0, lat0, lon0, lat1)) / std::fabs(dy);

  for (double v : {ptoKX, ptoKY, ptoKLl, ptoKLa, ktoPX, ktoPY, ktoPX0, ktoPY0, ptoDX, ptoDY}) {
    if (!std::isfinite(v)) return false;
  }
  s.GE_tpPtoK_r_X = ptoKX;
  s.GE_tpPtoK_r_Y = ptoKY;
  s.GE_tpPx00ToKei_Ll = ptoKLl;
  s.GE_tpPx00ToKei_La = ptoKLa;
  s.GE_tpKtoP_r_X = ktoPX;
  s.GE_tpKtoP_r_Y = ktoPY;
  s.GE_tpKI00ToPx_X = ktoPX0;
  s.GE_tpKI00ToPx_Y = ktoPY0;
  s.GE_tpPtoD_r_X = ptoDX;
  s.GE_tpPtoD_r_Y = ptoDY;
  return true;
}

}  // namespace planimo
