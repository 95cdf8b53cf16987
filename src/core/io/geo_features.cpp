#include "io/geo_features.h"

#include <algorithm>

#include "io/kept_shapes.h"

namespace planimo {

namespace {

constexpr double kSecondsPerDegree = 3600;

// Twice the signed area of a ring in longitude/latitude; positive when it
// runs counter-clockwise (east before north).
double TwiceSignedArea(const std::vector<LonLat>& ring) {
  double sum = 0;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
    sum += ring[i].lon * ring[i + 1].lat - ring[i + 1].lon * ring[i].lat;
  }
  return sum;
}

}  // namespace

ErrorReport NeedsLonLatReport() { return {kErrInvalidArgument, std::string(kNeedsLonLatText)}; }

std::optional<std::vector<GeoFeature>> GeoFeatures(const Document& doc) {
  if (!HasLonLatCalibration(doc.state)) return std::nullopt;
  std::vector<GeoFeature> out;
  for (const KeptShape& s : KeptShapes(doc)) {
    if (s.kind == ExportKind::Leader || s.kind == ExportKind::Comment) continue;
    GeoFeature f;
    f.kind = s.kind;
    bool placed = true;
    if (s.stated) {
      f.points.push_back({s.stated->lon / kSecondsPerDegree, s.stated->lat / kSecondsPerDegree});
    } else {
      for (const PointF p : s.points) {
        const std::optional<LonLat> g = DrawingToLonLat(doc.state, p);
        placed = placed && g.has_value();
        if (g) f.points.push_back(*g);
      }
    }
    if (!placed) continue;
    if (s.kind == ExportKind::Area) {
      f.points.push_back(f.points.front());
      if (TwiceSignedArea(f.points) < 0) std::reverse(f.points.begin(), f.points.end());
    }
    if (const std::optional<KeptValue> v = LabelValue(doc, s.kind, *s.label)) {
      f.value = v->value;
      f.unit = v->unit;
    }
    f.caption = s.label->Caption;
    while (!f.caption.empty() && f.caption.back() == ' ') f.caption.pop_back();
    f.comment = s.label->ToolTipText;
    f.item = ShapeItem(doc, s);
    f.deduction = s.kind == ExportKind::Area && s.label->Deduction && !f.item.empty();
    out.push_back(std::move(f));
  }
  return out;
}

}  // namespace planimo
