#include "measure/vertex_drag.h"

#include <cmath>
#include <optional>

#include "geometry/shift_constraint.h"
#include "measure/abandon.h"
#include "measure/line_measure.h"
#include "measure/path_measure.h"
#include "model/value_tag.h"

namespace planimo {

namespace {

// Four screen pixels: view millimetres stand for the same screen distance
// at every zoom.
constexpr float kReach = 4 * 0.2645f;

struct Candidate {
  GrabbedKind kind = GrabbedKind::None;
  int index = -1;  // distance object, or linePS element
  int end = 0;
  float x = 0, y = 0;
  float d2 = 0;
};

void Consider(Candidate& best, GrabbedKind kind, int index, int end, float vx, float vy, float x,
              float y) {
  const float dx = vx - x;
  const float dy = vy - y;
  if (!(std::fabs(dx) <= kReach && std::fabs(dy) <= kReach)) return;
  const float d2 = dx * dx + dy * dy;
  if (best.kind != GrabbedKind::None && d2 >= best.d2) return;
  best = {kind, index, end, vx, vy, d2};
}

bool Grabbable(const MeasureSession& s) {
  return s.menu.mnuToolMes && CurrentMode(s.menu) == MeasureMode::Select &&
         !RangeZoomChecked(s.menu) && !MeasurementRunning(s) && !s.labelGrab.held;
}

Candidate NearestDistanceEnd(const Collections& o, float x, float y) {
  Candidate best;
  const int n = UBound(o.lblKyori);
  const int hojo = UBound(o.lineHojoSave);
  for (int k = 0; k < n && 2 * k + 1 < hojo; ++k) {
    const LineRecord& e0 = o.lineHojoSave[static_cast<std::size_t>(2 * k)];
    const LineRecord& e1 = o.lineHojoSave[static_cast<std::size_t>(2 * k + 1)];
    if (!e0.Visible || !e1.Visible) continue;
    Consider(best, GrabbedKind::Distance, k, 0, e0.X1, e0.Y1, x, y);
    Consider(best, GrabbedKind::Distance, k, 1, e1.X1, e1.Y1, x, y);
  }
  return best;
}

Candidate NearestOutlineVertex(const Collections& o, float x, float y) {
  Candidate best;
  const int n = UBound(o.linePS);
  for (int i = 0; i < n; ++i) {
    const LineRecord& l = o.linePS[static_cast<std::size_t>(i)];
    if (!l.Visible || l.Tag.empty()) continue;
    Consider(best, GrabbedKind::Area, i, 0, l.X1, l.Y1, x, y);
    Consider(best, GrabbedKind::Area, i, 1, l.X2, l.Y2, x, y);
  }
  return best;
}

// The shown label below the spare that carries `tag`, or -1.
int LabelTagged(const std::vector<TextRecord>& labels, const std::string& tag) {
  for (int i = 0; i < UBound(labels); ++i) {
    const TextRecord& l = labels[static_cast<std::size_t>(i)];
    if (l.Visible && l.Tag == tag) return i;
  }
  return -1;
}

std::vector<TextRecord>* OutlineLabels(Collections& o, GrabbedKind kind) {
  if (kind == GrabbedKind::Area) return &o.lblMensekiS;
  if (kind == GrabbedKind::Route) return &o.lblKeiroS;
  return nullptr;
}

const std::vector<TextRecord>* OutlineLabels(const Collections& o, GrabbedKind kind) {
  if (kind == GrabbedKind::Area) return &o.lblMensekiS;
  if (kind == GrabbedKind::Route) return &o.lblKeiroS;
  return nullptr;
}

// The grab of the vertex nearest (x, y), its records still unread.
VertexGrab Find(const Document& doc, float x, float y) {
  const Collections& o = doc.objects;
  Candidate best = NearestDistanceEnd(o, x, y);
  const Candidate v = NearestOutlineVertex(o, x, y);
  VertexGrab g;
  // A vertex an area or route shares with the distances kept along its
  // sides goes to the outline: its value is the one the user measured for.
  if (v.kind != GrabbedKind::None && (best.kind == GrabbedKind::None || v.d2 <= best.d2)) {
    const std::string& tag = o.linePS[static_cast<std::size_t>(v.index)].Tag;
    for (GrabbedKind kind : {GrabbedKind::Area, GrabbedKind::Route}) {
      const int label = LabelTagged(*OutlineLabels(o, kind), tag);
      if (label < 0) continue;
      g.kind = kind;
      g.index = label;
      for (int i = 0; i < UBound(o.linePS); ++i) {
        if (o.linePS[static_cast<std::size_t>(i)].Tag == tag) g.segments.push_back(i);
      }
      best = v;
      break;
    }
  }
  if (g.kind == GrabbedKind::None && best.kind == GrabbedKind::Distance) {
    g.kind = GrabbedKind::Distance;
    g.index = best.index;
    g.end = best.end;
  }
  g.x = best.x;
  g.y = best.y;
  return g;
}

std::optional<GrabbedRecords> Read(const Document& doc, const VertexGrab& g) {
  const Collections& o = doc.objects;
  GrabbedRecords r;
  const auto k = static_cast<std::size_t>(g.index);
  if (g.kind == GrabbedKind::Distance) {
    if (g.index < 0 || k >= o.lblKyori.size() || k >= o.lineDsSave.size() ||
        2 * k + 1 >= o.lineHojoSave.size() || 2 * k + 1 >= o.shpSnpo.size()) {
      return std::nullopt;
    }
    r.lines = {o.lineHojoSave[2 * k], o.lineHojoSave[2 * k + 1], o.lineDsSave[k]};
    r.shapes = {o.shpSnpo[2 * k], o.shpSnpo[2 * k + 1]};
    r.label = o.lblKyori[k];
    return r;
  }
  const std::vector<TextRecord>* labels = OutlineLabels(o, g.kind);
  if (labels == nullptr || g.index < 0 || k >= labels->size()) return std::nullopt;
  for (int i : g.segments) {
    if (i < 0 || static_cast<std::size_t>(i) >= o.linePS.size()) return std::nullopt;
    r.lines.push_back(o.linePS[static_cast<std::size_t>(i)]);
  }
  r.label = (*labels)[k];
  return r;
}

// The item an object belongs to and its deduction mark are no part of its
// figure: the list may change them while a vertex is held, and the drag
// neither trips over that nor takes it back.
void KeepMembership(TextRecord& label, const TextRecord& of) {
  label.Item = of.Item;
  label.Deduction = of.Deduction;
}

bool SameFigure(const GrabbedRecords& a, GrabbedRecords b) {
  KeepMembership(b.label, a.label);
  return a == b;
}

void Write(Document& doc, const VertexGrab& g, const GrabbedRecords& r) {
  Collections& o = doc.objects;
  const auto k = static_cast<std::size_t>(g.index);
  const auto put = [&r](TextRecord& label) {
    const TextRecord was = label;
    label = r.label;
    KeepMembership(label, was);
  };
  if (g.kind == GrabbedKind::Distance) {
    o.lineHojoSave[2 * k] = r.lines[0];
    o.lineHojoSave[2 * k + 1] = r.lines[1];
    o.lineDsSave[k] = r.lines[2];
    o.shpSnpo[2 * k] = r.shapes[0];
    o.shpSnpo[2 * k + 1] = r.shapes[1];
    put(o.lblKyori[k]);
    return;
  }
  for (std::size_t j = 0; j < g.segments.size(); ++j) {
    o.linePS[static_cast<std::size_t>(g.segments[j])] = r.lines[j];
  }
  put((*OutlineLabels(o, g.kind))[k]);
}

// The object still stands as this drag grabbed or left it, at its zoom.
bool Ours(const Document& doc, const VertexGrab& g) {
  if (!g.held() || doc.view.sngZoomPrev != g.zoom) return false;
  const std::optional<GrabbedRecords> r = Read(doc, g);
  return r && (SameFigure(*r, g.now) || SameFigure(*r, g.before));
}

// The other end of the segment that runs into the held vertex: the moved
// segment is squared from there, as it was drawn.
PointF Anchor(const VertexGrab& g) {
  const GrabbedRecords& b = g.before;
  if (g.kind == GrabbedKind::Distance) {
    const LineRecord& other = b.lines[g.end == 0 ? 1 : 0];
    return {other.X1, other.Y1};
  }
  for (const LineRecord& l : b.lines) {
    if (l.X2 == g.x && l.Y2 == g.y) return {l.X1, l.Y1};
  }
  for (const LineRecord& l : b.lines) {
    if (l.X1 == g.x && l.Y1 == g.y) return {l.X2, l.Y2};
  }
  return {g.x, g.y};
}

// Measures the object again with the vertex at p; false (the object as
// grabbed) when the value cannot be computed.
bool Remeasure(Document& doc, MeasureSession& s, const VertexGrab& g, PointF p) {
  Write(doc, g, g.before);
  if (g.kind == GrabbedKind::Distance) {
    const LineRecord& a = g.before.lines[0];
    const LineRecord& b = g.before.lines[1];
    const PointF from = g.end == 0 ? p : PointF{a.X1, a.Y1};
    const PointF to = g.end == 1 ? p : PointF{b.X1, b.Y1};
    return RemeasureDistance(doc, s, g.index, from.x, from.y, to.x, to.y, doc.state.GE_booModeDis);
  }
  GrabbedRecords r = g.before;
  // A vertex is the end of one segment and the start of the next: every
  // end that stood on it moves.
  for (LineRecord& l : r.lines) {
    if (l.X1 == g.x && l.Y1 == g.y) {
      l.X1 = p.x;
      l.Y1 = p.y;
    }
    if (l.X2 == g.x && l.Y2 == g.y) {
      l.X2 = p.x;
      l.Y2 = p.y;
    }
  }
  double value = 0;
  if (g.kind == GrabbedKind::Area) {
    const std::optional<double> area = OutlineArea(doc, r.lines);
    if (!area) return false;
    value = *area;
    LabelArea(doc, r.label, value, r.lines, doc.clock->Now());
  } else {
    const std::optional<SegmentValue> total = RouteLength(doc, r.lines);
    if (!total) return false;
    value = total->value;
    LabelRoute(doc, r.label, value, r.lines, doc.clock->Now());
  }
  // The tag links the label with its outline and must stay unique among
  // the kept routes and areas.
  r.label.Tag = KeepCreationTime(r.label.Tag, g.before.label.Tag);
  if (r.label.Tag != g.before.label.Tag) r.label.Tag = UniqueValueTag(r.label.Tag, doc.objects);
  for (LineRecord& l : r.lines) l.Tag = r.label.Tag;
  Write(doc, g, r);
  MarkChanged(doc);
  return true;
}

const char* CorrectionCaption(GrabbedKind kind) {
  switch (kind) {
    case GrabbedKind::Distance:
      return "距離の修正";
    case GrabbedKind::Route:
      return "経路の修正";
    case GrabbedKind::Area:
      return "面積の修正";
    case GrabbedKind::None:
      break;
  }
  return "";
}

// Where the held vertex goes for a pointer at (x, y); nothing for a place
// that is no number.
std::optional<PointF> Target(const VertexGrab& g, float x, float y, bool shift) {
  const PointF p = ApplyShiftConstraint(Anchor(g), {x, y}, shift);
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
  return p;
}

}  // namespace

bool VertexUnder(const Document& doc, const MeasureSession& s, float x, float y) {
  return Grabbable(s) && Find(doc, x, y).held();
}

bool GrabVertex(Document& doc, MeasureSession& s, float x, float y) {
  PutVertexBack(doc, s);
  if (!Grabbable(s)) return false;
  VertexGrab g = Find(doc, x, y);
  if (!g.held()) return false;
  const std::optional<GrabbedRecords> r = Read(doc, g);
  if (!r) return false;
  g.before = g.now = *r;
  g.zoom = doc.view.sngZoomPrev;
  g.revision = doc.revision;
  s.vertexGrab = std::move(g);
  return true;
}

bool StandAsGrabbed(Document& doc, MeasureSession& s) {
  VertexGrab& g = s.vertexGrab;
  if (!g.held()) return false;
  if (!Ours(doc, g)) {
    g = VertexGrab{};
    return false;
  }
  Write(doc, g, g.before);
  return true;
}

void DragVertex(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  VertexGrab& g = s.vertexGrab;
  if (!Ours(doc, g)) {
    g = VertexGrab{};
    return;
  }
  // The tool or mode changed under the drag: the object goes back.
  if (!s.menu.mnuToolMes || CurrentMode(s.menu) != MeasureMode::Select) {
    PutVertexBack(doc, s);
    return;
  }
  const std::optional<PointF> p = Target(g, x, y, shift);
  if (p && Remeasure(doc, s, g, *p)) {
    g.now = *Read(doc, g);
  } else {
    Write(doc, g, g.now);
  }
}

std::string ReleaseVertex(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  DragVertex(doc, s, x, y, shift);
  VertexGrab& g = s.vertexGrab;
  if (!g.held()) return {};
  const std::optional<PointF> p = Target(g, x, y, shift);
  const bool moved = !SameFigure(g.now, g.before) && !(p && p->x == g.x && p->y == g.y);
  if (!moved) {
    PutVertexBack(doc, s);
    return {};
  }
  const std::string caption = CorrectionCaption(g.kind);
  g = VertexGrab{};
  return caption;
}

void PutVertexBack(Document& doc, MeasureSession& s) {
  VertexGrab& g = s.vertexGrab;
  if (Ours(doc, g)) {
    Write(doc, g, g.before);
    // Unchanged again, unless the list changed the object's item meanwhile.
    if (*Read(doc, g) == g.before) doc.revision = g.revision;
  }
  g = VertexGrab{};
}

}  // namespace planimo
