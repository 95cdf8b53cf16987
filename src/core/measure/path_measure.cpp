#include "measure/path_measure.h"

#include <cmath>
#include <vector>

#include "geometry/polygon.h"
#include "geometry/shift_constraint.h"
#include "geometry/tilt.h"
#include "geometry/units.h"
#include "measure/line_measure.h"
#include "model/record_style.h"
#include "model/value_tag.h"

namespace planimo {

namespace {

constexpr float kVertexCatch = 2.0f;
// A release this close to the vertex it started from (two screen pixels
// either way) is the second click of a double-click, not a new vertex.
constexpr float kSameVertex = 2 * 0.2645f;

int LastIndex(const WorkingObjects& live) { return UBound(live.lineMenseki); }

LineRecord& Segment(WorkingObjects& live, int i) {
  return live.lineMenseki[static_cast<std::size_t>(i)];
}

// Appends the next, still invisible, element of the working path.
bool AppendPathSpare(WorkingObjects& live) {
  if (static_cast<int>(live.lineMenseki.size()) > kMaxIndex) return false;
  LineRecord r = live.lineMenseki.front();
  r.Visible = false;
  r.BorderStyle = kStyleSolid;
  r.BorderWidth = 1;
  r.Tag.clear();
  live.lineMenseki.push_back(r);
  return true;
}

void HideLiveLine(WorkingObjects& live) {
  live.lblDistance.Visible = false;
  live.lineDistance.Visible = false;
  ShowExtensionLines(live, false);
}

float Unzoom(const Document& doc, float v) { return ToSingle(v / static_cast<double>(doc.view.sngZoom)); }

// Box of the segment starts at 100 %, where route and area labels go.
struct StartBox {
  float minX = 0, minY = 0, maxX = -1, maxY = -1;
  void Add(float x, float y) {
    if (x < minX) minX = x;
    if (x > maxX) maxX = x;
    if (y < minY) minY = y;
    if (y > maxY) maxY = y;
  }
};

StartBox BoxOfStarts(const Document& doc, std::span<const LineRecord> segments) {
  StartBox box{Unzoom(doc, segments.front().X1), Unzoom(doc, segments.front().Y1)};
  for (const LineRecord& seg : segments) box.Add(Unzoom(doc, seg.X1), Unzoom(doc, seg.Y1));
  return box;
}

// Copies segments 0..m and the label into linePS and `labels` under a Tag no
// other kept route or area carries; the live label takes the same Tag.
bool KeepOutline(Document& doc, TextRecord& live, std::vector<TextRecord>& labels, int m) {
  Collections& o = doc.objects;
  if (UBound(o.linePS) + m + 1 > kMaxIndex || UBound(labels) + 1 > kMaxIndex) return false;
  live.Tag = UniqueValueTag(live.Tag, o);
  const LineRecord& style = doc.live.linDefault;
  for (int i = 0; i <= m; ++i) {
    const LineRecord& seg = Segment(doc.live, i);
    LineRecord& e = o.linePS.back();
    e.X1 = seg.X1;
    e.Y1 = seg.Y1;
    e.X2 = seg.X2;
    e.Y2 = seg.Y2;
    e.Tag = live.Tag;
    CopyStyle(style, e);
    e.Visible = true;
    AppendSpare(o.linePS);
  }
  TextRecord& l = labels.back();
  CopyStyle(doc.live.lblDefault, l);
  l.Caption = live.Caption;
  l.Tag = live.Tag;
  l.Top = live.Top;
  l.Left = live.Left;
  AutoSize(l, *doc.measurer);
  l.Visible = true;
  AppendSpare(labels);
  MarkChanged(doc);
  return true;
}

bool SameVertex(const LineRecord& seg) {
  return std::fabs(seg.X2 - seg.X1) <= kSameVertex && std::fabs(seg.Y2 - seg.Y1) <= kSameVertex;
}

void ArmRunning(const Document& doc, MeasureSession& s) {
  if (doc.state.GE_booModeDis) s.flags.booMesRunDis = true;
  if (doc.state.GE_booModeKei) s.flags.booMesRunKei = true;
}

void StopRunning(MeasureSession& s) {
  RunFlags& f = s.flags;
  f.booMesRunDis = f.booMesRunKei = f.booMesMovedDis = f.booMesMovedKei = false;
}

// The segment at the top of the working path sets off from the end of the
// one below it and follows the pointer from there at once, so that each
// further click fixes one more vertex.
void StartNextSegment(Document& doc, MeasureSession& s) {
  WorkingObjects& live = doc.live;
  const int n = LastIndex(live);
  LineRecord& seg = Segment(live, n);
  const LineRecord& prev = Segment(live, n - 1);
  seg.X1 = seg.X2 = prev.X2;
  seg.Y1 = seg.Y2 = prev.Y2;
  seg.BorderStyle = kStyleDot;
  seg.Visible = true;
  s.flags.booMesMovedDis = s.flags.booMesMovedKei = false;
  // A zero-length segment shows 0, so this cannot fail.
  (void)UpdateSegmentLabel(doc, s);
  StartExtensionLines(live, seg.X1, seg.Y1);
  OrientExtensionLines(live, seg.X1, seg.Y1, seg.X2, seg.Y2, doc.state.GE_sngHojoLen);
  ShowExtensionLines(live, true);
  live.lblDistance.Visible = true;
  s.flags.booMesShownDis = s.flags.booMesShownKei = false;
  ArmRunning(doc, s);
}

}  // namespace

bool PathTakesVertex(const Document& doc, const MeasureSession& s) {
  const WorkingObjects& live = doc.live;
  return !s.flags.Running() || (LastIndex(live) == 0 && !live.lineMenseki.front().Visible);
}

bool PathBetweenVertices(const Document& doc, const MeasureSession& s) {
  return CurrentMode(s.menu) == MeasureMode::Path && s.flags.booPathStarted && s.flags.Running() &&
         LastIndex(doc.live) >= 1;
}

void AddVertex(Document& doc, MeasureSession& s, float x, float y) {
  WorkingObjects& live = doc.live;
  TextRecord& label = live.lblDistance;
  int n = 0;
  // A path whose working segments were cleared under it (whatever its flag
  // says) has no previous segment to go on from: it starts again here.
  if (!s.flags.booPathStarted || LastIndex(live) == 0) {
    s.flags.booPathStarted = true;
    ClearWorkingPath(live);
    n = LastIndex(live);
    LineRecord& seg = Segment(live, n);
    seg.X1 = seg.X2 = x;
    seg.Y1 = seg.Y2 = y;
    label.Caption = "0.00 " + doc.state.strUnitD;
    AutoSize(label, *doc.measurer);
    label.Left = x;
    label.Top = y - label.Height;
    StartExtensionLines(live, x, y);
    OrientExtensionLines(live, x, y, x, y, doc.state.GE_sngHojoLen);
  } else {
    n = LastIndex(live);
    LineRecord& seg = Segment(live, n);
    const LineRecord& prev = Segment(live, n - 1);
    seg.X1 = prev.X2;
    seg.Y1 = prev.Y2;
    seg.X2 = x;
    seg.Y2 = y;
    // Before any move the label shows 0, so this cannot fail.
    (void)UpdateSegmentLabel(doc, s);
    StartExtensionLines(live, seg.X1, seg.Y1);
  }
  ShowExtensionLines(live, true);
  Segment(live, n).BorderStyle = kStyleDot;
  Segment(live, n).Visible = true;
  label.Visible = true;
  ArmRunning(doc, s);
}

bool UpdateSegmentLabel(Document& doc, MeasureSession& s) {
  const LineRecord& seg = Segment(doc.live, LastIndex(doc.live));
  double value = 0;
  if (s.flags.booMesMovedDis || s.flags.booMesMovedKei) {
    const std::optional<SegmentValue> v =
        MeasureViewSegment(doc, s.flags.booMesMovedDis, seg.X1, seg.Y1, seg.X2, seg.Y2);
    if (!v) return false;
    s.readout.txtPict[3] = v->direction;
    value = v->value;
  }
  TextRecord& label = doc.live.lblDistance;
  SetDistanceCaption(doc, s, label, value);
  CentreLabel(label, seg.X1, seg.Y1, seg.X2, seg.Y2);
  return true;
}

bool FollowSegment(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  LineRecord& seg = Segment(doc.live, LastIndex(doc.live));
  const PointF e = ApplyShiftConstraint({seg.X1, seg.Y1}, {x, y}, shift);
  if (!IsFinite(e)) return false;
  seg.X2 = e.x;
  seg.Y2 = e.y;
  if (!UpdateSegmentLabel(doc, s)) return false;
  OrientExtensionLines(doc.live, seg.X1, seg.Y1, seg.X2, seg.Y2, doc.state.GE_sngHojoLen);
  VertexSnap(doc, x, y);
  return true;
}

int VertexSnap(Document& doc, float x, float y) {
  WorkingObjects& live = doc.live;
  const int last = LastIndex(live);
  if (last <= 1 || !doc.state.GE_booSnap) return -1;
  ShapeRecord& snap = live.shpSnap;
  const LineRecord* p = live.lineMenseki.data();
  for (int i = 0; i <= last - 2; ++i) {
    const float sx = p[i].X1;
    const float sy = p[i].Y1;
    if (x - kVertexCatch <= sx && sx <= x + kVertexCatch && y - kVertexCatch <= sy &&
        sy <= y + kVertexCatch) {
      snap.Left = sx - snap.Width / 2;
      snap.Top = sy - snap.Height / 2;
      snap.Visible = true;
      return i;
    }
  }
  snap.Visible = false;
  return -1;
}

bool FinishPathSegment(Document& doc, MeasureSession& s, float x, float y) {
  WorkingObjects& live = doc.live;
  const int n = LastIndex(live);
  // A release back on the vertex the segment starts from fixes nothing: the
  // segment goes on following the pointer, and no 0.00 distance is kept.
  if (SameVertex(Segment(live, n))) {
    s.flags.booMesShownDis = s.flags.booMesShownKei = false;
    ArmRunning(doc, s);
    return true;
  }
  if (s.menu.popMesPutSen && !KeepDistance(doc, s)) return false;
  Segment(live, n).BorderStyle = kStyleDash;
  // Whether the segment's distance was kept, for a Backspace to take back.
  Segment(live, n).Tag = s.menu.popMesPutSen ? kPathSegmentKept : "";
  if (!AppendPathSpare(live)) return false;
  const int k = VertexSnap(doc, x, y);
  if (k < 0) {
    StartNextSegment(doc, s);
    return true;
  }
  LineRecord& seg = Segment(live, n);
  seg.X2 = Segment(live, k).X1;
  seg.Y2 = Segment(live, k).Y1;
  if (s.menu.popMesPutSen &&
      !UpdateLastSegmentDistance(doc, s, seg.X1, seg.Y1, seg.X2, seg.Y2, s.flags.booMesMovedDis)) {
    return false;
  }
  if (!ComputeArea(doc, s)) return false;
  live.shpSnap.Visible = false;
  return FinishRoute(doc, s);
}

bool CloseByCommand(Document& doc, MeasureSession& s) {
  WorkingObjects& live = doc.live;
  const int n = LastIndex(live);
  // A path left in place by "経路距離計算" may still be closed into an area;
  // an outline whose area already shows is not closed (and kept) again. A
  // segment still following the pointer is not the spare this builds on.
  // Between two vertices the top segment follows the pointer: it becomes
  // the closing one.
  const bool following = PathBetweenVertices(doc, s);
  if (CurrentMode(s.menu) != MeasureMode::Path || n <= 0 || live.lblMenseki.Visible ||
      (s.flags.Running() && !following)) {
    return true;
  }
  StopRunning(s);
  LineRecord& seg = Segment(live, n);
  seg.X1 = Segment(live, n - 1).X2;
  seg.Y1 = Segment(live, n - 1).Y2;
  seg.X2 = Segment(live, 0).X1;
  seg.Y2 = Segment(live, 0).Y1;
  seg.Visible = true;
  seg.BorderStyle = kStyleSolid;
  if (s.menu.popMesPutSen) {
    LineRecord& l = live.lineDistance;
    l.X1 = seg.X1;
    l.Y1 = seg.Y1;
    l.X2 = seg.X2;
    l.Y2 = seg.Y2;
    if (!KeepSegmentDistance(doc, s, seg.X1, seg.Y1, seg.X2, seg.Y2, doc.state.GE_booModeDis)) {
      return false;
    }
  }
  // The closing segment joins the path as a fixed segment, exactly as a
  // release onto a vertex leaves it, so the outline and the route count it.
  if (!AppendPathSpare(live)) return false;
  if (!ComputeArea(doc, s)) return false;
  live.shpSnap.Visible = false;
  return FinishRoute(doc, s);
}

bool FinishByCommand(Document& doc, MeasureSession& s) {
  WorkingObjects& live = doc.live;
  const int n = LastIndex(live);
  const bool following = PathBetweenVertices(doc, s);
  if (CurrentMode(s.menu) != MeasureMode::Path || n <= 0 || (s.flags.Running() && !following)) {
    return true;
  }
  StopRunning(s);
  // The route is the fixed segments; the one following the pointer goes
  // back to being the path's invisible spare.
  LineRecord& top = Segment(live, n);
  top.Visible = false;
  top.BorderStyle = kStyleSolid;
  top.BorderWidth = 1;
  top.Tag.clear();
  live.shpSnap.Visible = false;
  return FinishRoute(doc, s);
}

std::optional<double> OutlineArea(const Document& doc, std::span<const LineRecord> segments) {
  const ProjectState& st = doc.state;
  std::vector<PointD> pts(segments.size() + 1);
  const PointF c = TiltCentre(st);
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const LineRecord& seg = segments[i];
    const PointF a{Unzoom(doc, seg.X1), Unzoom(doc, seg.Y1)};
    const PointF b{Unzoom(doc, seg.X2), Unzoom(doc, seg.Y2)};
    const PointF ra = RotatePoint(c, a, st.GE_dblHosei[3]);
    const PointF rb = RotatePoint(c, b, st.GE_dblHosei[3]);
    pts[i] = {ra.x * st.GE_tpPtoD_r_X, ra.y * st.GE_tpPtoD_r_Y};
    pts[i + 1] = {rb.x * st.GE_tpPtoD_r_X, rb.y * st.GE_tpPtoD_r_Y};
  }
  const double a = PolygonArea(pts);
  // The square of the metres per distance unit turns squared distance units
  // into square metres; the longitude/latitude calibration measures metres.
  double f = 1;
  if (st.GE_booModeDis) {
    const double mPerUnit = DistanceUnitToMetres(1.0, st.GE_intUnitDIndex, doc.settings.units);
    f = mPerUnit * mPerUnit;
  }
  const double area = SquareMetresToAreaUnit(a * f, st.GE_intUnitSIndex, doc.settings.units);
  if (!std::isfinite(area)) return std::nullopt;
  return area;
}

std::optional<SegmentValue> RouteLength(const Document& doc, std::span<const LineRecord> segments) {
  SegmentValue total;
  for (const LineRecord& seg : segments) {
    const std::optional<SegmentValue> v =
        MeasureViewSegment(doc, doc.state.GE_booModeDis, seg.X1, seg.Y1, seg.X2, seg.Y2);
    if (!v) return std::nullopt;
    total.direction = v->direction;
    total.value += v->value;
  }
  if (!std::isfinite(total.value)) return std::nullopt;
  return total;
}

void LabelArea(const Document& doc, TextRecord& label, double area,
               std::span<const LineRecord> segments, const LocalTime& time) {
  const ProjectState& st = doc.state;
  const StartBox box = BoxOfStarts(doc, segments);
  const double zoom = doc.view.sngZoom;
  label.Caption = ValueLabelText(area, st.intDPointS, st.strUnitS, st);
  label.Tag = BuildValueTag(st.GE_intUnitSIndex, st.intDPointS, area, time);
  AutoSize(label, *doc.measurer);
  label.Top = ToSingle((static_cast<double>(box.maxY - box.minY) / 2 + box.minY) * zoom);
  label.Left = ToSingle(
      (static_cast<double>(box.maxX - box.minX) / 2 + box.minX - label.Width / 2) * zoom);
}

void LabelRoute(const Document& doc, TextRecord& label, double total,
                std::span<const LineRecord> segments, const LocalTime& time) {
  const ProjectState& st = doc.state;
  const StartBox box = BoxOfStarts(doc, segments);
  const double zoom = doc.view.sngZoom;
  label.Caption = ValueLabelText(total, st.intDPointD, st.strUnitD, st);
  label.Tag = BuildValueTag(st.GE_intUnitDIndex, st.intDPointD, total, time);
  AutoSize(label, *doc.measurer);
  label.Top = ToSingle(box.minY * zoom);
  label.Left =
      ToSingle((static_cast<double>(box.maxX - box.minX) / 2 + box.minX - label.Width / 2) * zoom);
}

bool ComputeArea(Document& doc, MeasureSession& s) {
  WorkingObjects& live = doc.live;
  s.flags.booPathStarted = false;
  const int m = LastIndex(live) - 1;
  if (m < 0) return true;
  const std::span<const LineRecord> outline(live.lineMenseki.data(),
                                            static_cast<std::size_t>(m) + 1);
  const std::optional<double> area = OutlineArea(doc, outline);
  if (!area) return false;
  TextRecord& label = live.lblMenseki;
  LabelArea(doc, label, *area, outline, doc.clock->Now());
  label.Visible = true;
  if (s.menu.popMesPutMen && !KeepOutline(doc, label, doc.objects.lblMensekiS, m)) return false;
  HideLiveLine(live);
  return true;
}

bool FinishRoute(Document& doc, MeasureSession& s) {
  WorkingObjects& live = doc.live;
  s.flags.booPathStarted = false;
  const int m = LastIndex(live) - 1;
  if (m < 0) return true;
  const std::span<const LineRecord> route(live.lineMenseki.data(), static_cast<std::size_t>(m) + 1);
  const std::optional<SegmentValue> total = RouteLength(doc, route);
  if (!total) return false;
  s.readout.txtPict[3] = total->direction;
  for (int i = 0; i <= m; ++i) Segment(live, i).BorderStyle = kStyleSolid;
  TextRecord& label = live.lblKeiro;
  LabelRoute(doc, label, total->value, route, doc.clock->Now());
  label.Visible = true;
  if (s.menu.popMesPutSen) {
    if (!KeepOutline(doc, label, doc.objects.lblKeiroS, m)) return false;
    ClearWorkingPath(live);
  }
  HideLiveLine(live);
  return true;
}

}  // namespace planimo
