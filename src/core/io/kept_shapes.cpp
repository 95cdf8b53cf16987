#include "io/kept_shapes.h"

#include "takeoff/takeoff_rows.h"

#include <charconv>
#include <string_view>

#include "geometry/calibration.h"
#include "geometry/units.h"
#include "io/export_plane.h"
#include "model/value_tag.h"

namespace planimo {

namespace {

std::size_t KeptCount(std::size_t size) { return size == 0 ? 0 : size - 1; }

PointF Start(const Document& doc, const LineRecord& l) { return RecordToDrawing(doc, l.X1, l.Y1); }
PointF End(const Document& doc, const LineRecord& l) { return RecordToDrawing(doc, l.X2, l.Y2); }

// The outline of a route or an area: its segments in the order they were
// kept, each starting where the one before ended.
void AddOutlines(const Document& doc, ExportKind kind, const std::vector<TextRecord>& labels,
                 std::vector<KeptShape>& out) {
  for (std::size_t i = 0; i < KeptCount(labels.size()); ++i) {
    const TextRecord& label = labels[i];
    if (!label.Visible) continue;
    KeptShape s{kind, i, {}, &label, 0, std::nullopt};
    for (const LineRecord& seg : doc.objects.linePS) {
      if (!seg.Visible || seg.Tag != label.Tag) continue;
      if (s.points.empty()) {
        s.points.push_back(Start(doc, seg));
        s.colour = seg.BorderColor;
      }
      s.points.push_back(End(doc, seg));
    }
    if (kind == ExportKind::Area && s.points.size() > 1 && s.points.front() == s.points.back()) {
      s.points.pop_back();
    }
    const std::size_t least = kind == ExportKind::Area ? 3 : 2;
    if (s.points.size() >= least) out.push_back(std::move(s));
  }
}

std::optional<PointD> TwoNumbers(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  PointD p;
  const auto a = std::from_chars(text.data(), text.data() + comma, p.x);
  const auto b = std::from_chars(text.data() + comma + 1, text.data() + text.size(), p.y);
  if (a.ec != std::errc{} || a.ptr != text.data() + comma || b.ec != std::errc{} ||
      b.ptr != text.data() + text.size() || !IsFinite(p)) {
    return std::nullopt;
  }
  return p;
}

// A position's point: the tag the read-out gave it, else where its label
// was placed. The tag holds drawing millimetres when the position was
// placed under the known-distance calibration (its tool tip then reads
// "X:...,Y:..."), longitude and latitude when under the other, whichever
// calibration the project has now.
void AddPosition(const Document& doc, std::size_t i, const TextRecord& label,
                 std::vector<KeptShape>& out) {
  KeptShape s{ExportKind::Position, i, {}, &label, label.ForeColor, std::nullopt};
  const std::optional<PointD> tag = TwoNumbers(label.Tag);
  const bool millimetres = label.ToolTipText.rfind("X:", 0) == 0;
  PointF at = RecordToDrawing(doc, label.Left, label.Top);
  if (tag && millimetres) {
    at = {ToSingle(tag->x), ToSingle(tag->y)};
  } else if (tag && HasLonLatCalibration(doc.state)) {
    s.stated = GeoPos{tag->x, tag->y};
    const PointF p = GeoToPicture(doc.state, *s.stated);
    if (IsFinite(p)) at = p;
  }
  s.points.push_back(at);
  out.push_back(std::move(s));
}

}  // namespace

std::vector<KeptShape> KeptShapes(const Document& doc) {
  const Collections& o = doc.objects;
  std::vector<KeptShape> out;
  // The measured ends are where the extension lines start.
  for (std::size_t k = 0; k < KeptCount(o.lineDsSave.size()); ++k) {
    if (k >= o.lblKyori.size() || 2 * k + 1 >= o.lineHojoSave.size() || !o.lineDsSave[k].Visible)
      continue;
    const LineRecord& a = o.lineHojoSave[2 * k];
    const LineRecord& b = o.lineHojoSave[2 * k + 1];
    out.push_back({ExportKind::Distance,
                   k,
                   {Start(doc, a), Start(doc, b)},
                   &o.lblKyori[k],
                   o.lineDsSave[k].BorderColor,
                   std::nullopt});
  }
  AddOutlines(doc, ExportKind::Route, o.lblKeiroS, out);
  AddOutlines(doc, ExportKind::Area, o.lblMensekiS, out);
  for (std::size_t i = 0; i < o.lineHikidashi.size(); ++i) {
    const LineRecord& l = o.lineHikidashi[i];
    if (!l.Visible) continue;
    out.push_back({ExportKind::Leader,
                   i,
                   {Start(doc, l), End(doc, l)},
                   nullptr,
                   l.BorderColor,
                   std::nullopt});
  }
  for (std::size_t i = 1; i < o.lblMoji.size(); ++i) {
    const TextRecord& t = o.lblMoji[i];
    if (!t.Visible) continue;
    out.push_back({ExportKind::Comment,
                   i,
                   {RecordToDrawing(doc, t.Left, t.Top)},
                   &t,
                   t.ForeColor,
                   std::nullopt});
  }
  for (std::size_t i = 1; i < o.lblKeiIdoS.size(); ++i) {
    if (o.lblKeiIdoS[i].Visible) AddPosition(doc, i, o.lblKeiIdoS[i], out);
  }
  return out;
}

std::optional<KeptValue> LabelValue(const Document& doc, ExportKind kind, const TextRecord& label) {
  const bool length = kind == ExportKind::Distance || kind == ExportKind::Route;
  if (!length && kind != ExportKind::Area) return std::nullopt;
  const std::optional<ValueTag> tag = ParseValueTag(label.Tag);
  if (!tag) return std::nullopt;
  const UnitTables& t = doc.settings.units;
  std::string unit = length ? DistanceCaption(t, tag->unit) : AreaCaption(t, tag->unit);
  while (!unit.empty() && unit.back() == ' ') unit.pop_back();
  return KeptValue{tag->value, unit};
}

std::string ShapeItem(const Document& doc, const KeptShape& shape) {
  return shape.label != nullptr ? ItemName(doc.state, shape.label->Item) : std::string();
}

}  // namespace planimo
