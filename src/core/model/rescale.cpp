#include "model/rescale.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace planimo {

namespace {

float Scaled(float v, double r) { return static_cast<float>(v * r); }

void ScaleLines(std::vector<LineRecord>& lines, double r) {
  for (LineRecord& l : lines) {
    l.X1 = Scaled(l.X1, r);
    l.X2 = Scaled(l.X2, r);
    l.Y1 = Scaled(l.Y1, r);
    l.Y2 = Scaled(l.Y2, r);
  }
}

// A label keeps its centre: the centre follows the drawing by r, and the
// label, re-sized for its scaled font, is laid around it again. Anchoring an
// edge instead would move the label off its line by a share of its own
// growth at every zoom, and the drift would be saved and printed.
// Spares and templates are never shown: their corner simply scales, so that
// they too come back to where they stood at 100 %.
void ScaleLabels(std::vector<TextRecord>& labels, double r, const TextMeasurer& measurer) {
  for (TextRecord& l : labels) {
    if (!l.Visible) {
      l.Left = Scaled(l.Left, r);
      l.Top = Scaled(l.Top, r);
      l.FontSize = Scaled(l.FontSize, r);
      continue;
    }
    const double cx = (static_cast<double>(l.Left) + l.Width / 2.0) * r;
    const double cy = (static_cast<double>(l.Top) + l.Height / 2.0) * r;
    l.FontSize = Scaled(l.FontSize, r);
    AutoSize(l, measurer);
    l.Left = static_cast<float>(cx - l.Width / 2.0);
    l.Top = static_cast<float>(cy - l.Height / 2.0);
  }
}

void CentreOn(ShapeRecord& marker, float x, float y) {
  marker.Left = x - marker.Width / 2;
  marker.Top = y - marker.Height / 2;
}

// Markers 2i and 2i+1 sit on the ends of dimension line i; the spare line at
// the top has no markers of its own to follow.
void RecentreMarkers(std::vector<ShapeRecord>& markers, const std::vector<LineRecord>& dims) {
  if (dims.empty()) return;
  const std::size_t kept = dims.size() - 1;
  for (std::size_t i = 0; i < kept && 2 * i + 1 < markers.size(); ++i) {
    CentreOn(markers[2 * i], dims[i].X1, dims[i].Y1);
    CentreOn(markers[2 * i + 1], dims[i].X2, dims[i].Y2);
  }
}

}  // namespace

bool subDisp_Object(Document& doc) {
  const double r = static_cast<double>(doc.view.sngZoom) / doc.view.sngZoomPrev;
  if (!std::isfinite(r) || !(r > 0) || !doc.measurer) return false;
  const TextMeasurer& measurer = *doc.measurer;
  Collections& o = doc.objects;

  ScaleLines(o.lineHikidashi, r);
  ScaleLabels(o.lblMoji, r, measurer);
  ScaleLabels(o.lblKeiIdoS, r, measurer);
  ScaleLines(o.lineHojoSave, r);
  ScaleLines(o.lineDsSave, r);
  RecentreMarkers(o.shpSnpo, o.lineDsSave);
  ScaleLabels(o.lblKyori, r, measurer);
  ScaleLabels(o.lblKeiroS, r, measurer);
  ScaleLabels(o.lblMensekiS, r, measurer);
  ScaleLines(o.linePS, r);

  doc.view.sngZoomPrev = doc.view.sngZoom;
  return true;
}

}  // namespace planimo
