#include "measure/readout.h"

#include <charconv>

#include "geometry/calibration.h"
#include "geometry/dms.h"
#include "geometry/number_format.h"

namespace planimo {

std::optional<std::string> PositionReadout(const Document& doc, Readout& r, float x, float y) {
  const GeoPos g = PictureToGeo(doc.state, {x, y});
  if (!IsFinite(g)) return std::nullopt;
  const std::optional<DmsText> lon = SecondsToDms(g.lon);
  const std::optional<DmsText> lat = SecondsToDms(g.lat);
  if (!lon || !lat) return std::nullopt;
  r.positionTag = DoubleText(g.lon) + "," + DoubleText(g.lat);
  r.positionToolTip = lon->text + "," + lat->text;
  return lon->text + " E  " + lat->text + " N ";
}

void PointerReadout(const Document& doc, MeasureSession& s, float x, float y) {
  Readout& r = s.readout;
  const float zoom = doc.view.sngZoom;
  r.drawingX = x / zoom;
  r.drawingY = y / zoom;
  r.txtPict[1] = "X:" + FormatNumber(x, "#####0.###0");
  r.txtPict[2] = "Y:" + FormatNumber(y, "#####0.###0");
  if (doc.state.GE_booModeDis) {
    r.positionToolTip = r.txtPict[1] + "," + r.txtPict[2];
    r.positionTag = SingleText(r.drawingX) + "," + SingleText(r.drawingY);
  } else if (doc.state.GE_booModeKei) {
    if (std::optional<std::string> pos = PositionReadout(doc, r, r.drawingX, r.drawingY)) {
      r.txtPict[0] = *pos;
    }
  }
}

}  // namespace planimo
