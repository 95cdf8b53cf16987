#include "measure/line_measure.h"

#include <cmath>

#include "geometry/angles.h"
#include "geometry/calibration.h"
#include "geometry/distance.h"
#include "geometry/number_format.h"
#include "geometry/shift_constraint.h"
#include "geometry/specified_end.h"
#include "geometry/tilt.h"
#include "geometry/units.h"
#include "model/record_style.h"
#include "model/value_tag.h"

namespace planimo {

namespace {

constexpr const char* kAnglePattern = "##0.0###゜";

PointF Drawing(const Document& doc, float x, float y) {
  const double z = doc.view.sngZoom;
  return {ToSingle(x / z), ToSingle(y / z)};
}

// Room for one more distance object: two extension lines and markers, one
// label and one dimension line, each followed by its new spare.
bool RoomForDistance(const Collections& o) {
  return UBound(o.lineHojoSave) + 2 <= kMaxIndex && UBound(o.shpSnpo) + 2 <= kMaxIndex &&
         UBound(o.lblKyori) + 1 <= kMaxIndex && UBound(o.lineDsSave) + 1 <= kMaxIndex;
}

void CentreMarker(ShapeRecord& m, float x, float y) {
  m.Left = x - m.Width / 2;
  m.Top = y - m.Height / 2;
}

// The pair of live extension lines a kept object takes: the upper (or
// right-hand) pair for a segment drawn to the right or vertically.
int KeptSide(const WorkingObjects& live) {
  return live.lineHojo[0].X1 <= live.lineHojo[1].X1 ? 0 : 2;
}

// Writes the live pair p, p + 1 and the live label into distance object k
// (whose elements must exist). A new object takes the look of new objects;
// one measured again keeps its own.
void WriteDistanceObject(Document& doc, const MeasureSession& s, int k, int p,
                         bool restyle = true) {
  Collections& o = doc.objects;
  const WorkingObjects& live = doc.live;
  const LineRecord& a = live.lineHojo[static_cast<std::size_t>(p)];
  const LineRecord& b = live.lineHojo[static_cast<std::size_t>(p + 1)];
  for (int i = 0; i < 2; ++i) {
    const LineRecord& src = i == 0 ? a : b;
    LineRecord& e = o.lineHojoSave[static_cast<std::size_t>(2 * k + i)];
    e.X1 = src.X1;
    e.Y1 = src.Y1;
    e.X2 = src.X2;
    e.Y2 = src.Y2;
    if (restyle) CopyStyle(live.linDefault, e);
    e.Visible = true;
    ShapeRecord& m = o.shpSnpo[static_cast<std::size_t>(2 * k + i)];
    CentreMarker(m, src.X2, src.Y2);
    if (restyle) {
      m.BorderColor = m.FillColor = live.linDefault.BorderColor;
      m.BorderWidth = live.linDefault.BorderWidth;
    }
    m.Visible = true;
  }
  TextRecord& label = o.lblKyori[static_cast<std::size_t>(k)];
  label.Caption = live.lblDistance.Caption;
  label.Tag = live.lblDistance.Tag;
  label.ToolTipText = s.readout.txtPict[3];
  if (restyle) CopyStyle(live.lblDefault, label);
  AutoSize(label, *doc.measurer);
  CentreLabel(label, a.X2, a.Y2, b.X2, b.Y2);
  label.Visible = true;
  LineRecord& dim = o.lineDsSave[static_cast<std::size_t>(k)];
  dim.X1 = a.X2;
  dim.Y1 = a.Y2;
  dim.X2 = b.X2;
  dim.Y2 = b.Y2;
  if (restyle) CopyStyle(live.linDefault, dim);
  dim.Visible = true;
  MarkChanged(doc);
}

// Measures the segment and orients the live lines on it; false when the
// value cannot be computed (nothing changed then).
bool PrepareSegment(Document& doc, MeasureSession& s, float x1, float y1, float x2, float y2,
                    bool dis) {
  const std::optional<SegmentValue> v = MeasureViewSegment(doc, dis, x1, y1, x2, y2);
  if (!v) return false;
  s.readout.txtPict[3] = v->direction;
  StartExtensionLines(doc.live, x1, y1);
  OrientExtensionLines(doc.live, x1, y1, x2, y2, doc.state.GE_sngHojoLen);
  ShowExtensionLines(doc.live, true);
  SetDistanceCaption(doc, s, doc.live.lblDistance, v->value);
  return true;
}

}  // namespace

void ShowExtensionLines(WorkingObjects& live, bool visible) {
  for (LineRecord& l : live.lineHojo) l.Visible = visible;
}

void StartExtensionLines(WorkingObjects& live, float x, float y) {
  live.lineHojo[0].X1 = x;
  live.lineHojo[0].Y1 = y;
  live.lineHojo[2].X1 = x;
  live.lineHojo[2].Y1 = y;
}

void OrientExtensionLines(WorkingObjects& live, float x1, float y1, float x2, float y2,
                          float length) {
  const double a = LineAngle(x1, y1, x2, y2, true);
  const double theta = (a - 90) * kPi / 180;
  const double c = std::cos(theta);
  const double sn = std::sin(theta);
  const double L = length;
  std::array<LineRecord, 4>& h = live.lineHojo;
  h[0].X2 = ToSingle(h[0].X1 + L * c);
  h[0].Y2 = ToSingle(h[0].Y1 + L * sn);
  h[2].X2 = ToSingle(h[2].X1 - L * c);
  h[2].Y2 = ToSingle(h[2].Y1 - L * sn);
  h[1].X1 = x2;
  h[1].Y1 = y2;
  h[1].X2 = ToSingle(x2 + L * c);
  h[1].Y2 = ToSingle(y2 + L * sn);
  h[3].X1 = x2;
  h[3].Y1 = y2;
  h[3].X2 = ToSingle(h[1].X1 - L * c);
  h[3].Y2 = ToSingle(h[1].Y1 - L * sn);
}

std::optional<SegmentValue> MeasureLengthDis(const Document& doc, PointF a, PointF b) {
  const ProjectState& st = doc.state;
  const PointF c = TiltCentre(st);
  const PointF ra = RotatePoint(c, a, st.GE_dblHosei[3]);
  const PointF rb = RotatePoint(c, b, st.GE_dblHosei[3]);
  const double dx = (static_cast<double>(rb.x) - ra.x) * st.GE_tpPtoD_r_X;
  const double dy = (static_cast<double>(rb.y) - ra.y) * st.GE_tpPtoD_r_Y;
  const double length = std::sqrt(dx * dx + dy * dy);
  const float angle = PlaneAngle(a.x, a.y, b.x, b.y);
  if (!std::isfinite(length) || !std::isfinite(angle)) return std::nullopt;
  return SegmentValue{length, FormatNumber(angle, kAnglePattern)};
}

std::optional<SegmentValue> MeasureLengthKei(const Document& doc, PointF a, PointF b) {
  const ProjectState& st = doc.state;
  const GeoPos ga = PictureToGeo(st, a);
  const GeoPos gb = PictureToGeo(st, b);
  if (!IsFinite(ga) || !IsFinite(gb)) return std::nullopt;
  const double metres = GeoDistance(ga.lon, ga.lat, gb.lon, gb.lat);
  const double length = MetresToDistanceUnit(metres, st.GE_intUnitDIndex, doc.settings.units);
  const float bearing = GeoBearing(ga.lon, ga.lat, gb.lon, gb.lat);
  if (!std::isfinite(length) || !std::isfinite(bearing)) return std::nullopt;
  return SegmentValue{length, FormatNumber(bearing, kAnglePattern)};
}

std::optional<SegmentValue> MeasureViewSegment(const Document& doc, bool dis, float x1, float y1,
                                               float x2, float y2) {
  const PointF a = Drawing(doc, x1, y1);
  const PointF b = Drawing(doc, x2, y2);
  if (!IsFinite(a) || !IsFinite(b)) return std::nullopt;
  return dis ? MeasureLengthDis(doc, a, b) : MeasureLengthKei(doc, a, b);
}

void SetDistanceCaption(const Document& doc, MeasureSession& s, TextRecord& label, double value) {
  const ProjectState& st = doc.state;
  label.Caption = ValueLabelText(value, st.intDPointD, st.strUnitD, st);
  label.Tag = BuildValueTag(st.GE_intUnitDIndex, st.intDPointD, value, doc.clock->Now());
  AutoSize(label, *doc.measurer);
  s.readout.txtPict[4] = label.Caption;
}

void CentreLabel(TextRecord& label, float x1, float y1, float x2, float y2) {
  label.Left = (x2 - x1) / 2 + x1 - label.Width / 2;
  label.Top = (y2 - y1) / 2 + y1 - label.Height / 2;
}

bool UpdateLineLabel(Document& doc, MeasureSession& s) {
  const LineRecord& l = doc.live.lineDistance;
  TextRecord& label = doc.live.lblDistance;
  if (s.flags.booMesMovedDis || s.flags.booMesMovedKei) {
    const std::optional<SegmentValue> v =
        MeasureViewSegment(doc, s.flags.booMesMovedDis, l.X1, l.Y1, l.X2, l.Y2);
    if (!v) return false;
    s.readout.txtPict[3] = v->direction;
    SetDistanceCaption(doc, s, label, v->value);
  }
  CentreLabel(label, l.X1, l.Y1, l.X2, l.Y2);
  return true;
}

void UpdateFixedLabel(Document& doc, MeasureSession& s, float x1, float y1, float x2, float y2,
                      double value) {
  TextRecord& label = doc.live.lblDistance;
  SetDistanceCaption(doc, s, label, value);
  CentreLabel(label, x1, y1, x2, y2);
}

bool KeepDistance(Document& doc, MeasureSession& s) {
  Collections& o = doc.objects;
  if (!RoomForDistance(o)) return false;
  const int k = UBound(o.lblKyori);
  // The collections are kept in step: object k owns the spares at 2k, 2k+1.
  if (UBound(o.lineDsSave) != k || UBound(o.lineHojoSave) != 2 * k ||
      UBound(o.shpSnpo) != 2 * k) {
    return false;
  }
  AppendSpare(o.lineHojoSave);
  AppendSpare(o.lineHojoSave);
  AppendSpare(o.shpSnpo);
  AppendSpare(o.shpSnpo);
  AppendSpare(o.lblKyori);
  AppendSpare(o.lineDsSave);
  WriteDistanceObject(doc, s, k, KeptSide(doc.live));
  return true;
}

bool KeepSegmentDistance(Document& doc, MeasureSession& s, float x1, float y1, float x2, float y2,
                         bool dis) {
  if (!RoomForDistance(doc.objects)) return false;
  if (!PrepareSegment(doc, s, x1, y1, x2, y2, dis)) return false;
  return KeepDistance(doc, s);
}

bool UpdateLastSegmentDistance(Document& doc, MeasureSession& s, float x1, float y1, float x2,
                               float y2, bool dis) {
  Collections& o = doc.objects;
  const int k = UBound(o.lblKyori) - 1;
  if (k < 0 || UBound(o.lineHojoSave) != 2 * (k + 1)) return false;
  // The side of the object kept a moment before: the live line 0 still
  // stands where that object's first extension line ends.
  const LineRecord& kept = o.lineHojoSave[static_cast<std::size_t>(2 * k)];
  const LineRecord& live0 = doc.live.lineHojo[0];
  const int p = kept.X2 == live0.X2 || kept.Y2 == live0.Y2 ? 0 : 2;
  if (!PrepareSegment(doc, s, x1, y1, x2, y2, dis)) return false;
  WriteDistanceObject(doc, s, k, p);
  return true;
}

void TurnDimensionOver(Collections& o, int k) {
  const auto i = static_cast<std::size_t>(k);
  LineRecord& a = o.lineHojoSave[2 * i];
  LineRecord& b = o.lineHojoSave[2 * i + 1];
  for (LineRecord* e : {&a, &b}) {
    e->X2 = e->X1 + (e->X1 - e->X2);
    e->Y2 = e->Y1 + (e->Y1 - e->Y2);
  }
  LineRecord& dim = o.lineDsSave[i];
  dim.X1 = a.X2;
  dim.Y1 = a.Y2;
  dim.X2 = b.X2;
  dim.Y2 = b.Y2;
  TextRecord& label = o.lblKyori[i];
  label.Left = (dim.X1 + dim.X2) / 2 - label.Width / 2;
  label.Top = (dim.Y1 + dim.Y2) / 2 - label.Height / 2;
  for (std::size_t m = 0; m < 2 && 2 * i + m < o.shpSnpo.size(); ++m) {
    ShapeRecord& marker = o.shpSnpo[2 * i + m];
    const LineRecord& e = m == 0 ? a : b;
    marker.Left = e.X2 - marker.Width / 2;
    marker.Top = e.Y2 - marker.Height / 2;
  }
}

namespace {

// Whether the user turned the dimension of the distance kept along e0-e1
// over to the side the keeping rule does not choose.
bool TurnedOver(const LineRecord& e0, const LineRecord& e1) {
  WorkingObjects rule;
  StartExtensionLines(rule, e0.X1, e0.Y1);
  OrientExtensionLines(rule, e0.X1, e0.Y1, e1.X1, e1.Y1, 1.0f);
  const LineRecord& r = rule.lineHojo[static_cast<std::size_t>(KeptSide(rule))];
  const double dot = (static_cast<double>(r.X2) - r.X1) * (static_cast<double>(e0.X2) - e0.X1) +
                     (static_cast<double>(r.Y2) - r.Y1) * (static_cast<double>(e0.Y2) - e0.Y1);
  return dot < 0;
}

}  // namespace

bool RemeasureDistance(Document& doc, MeasureSession& s, int k, float x1, float y1, float x2,
                       float y2, bool dis) {
  Collections& o = doc.objects;
  if (k < 0 || k >= UBound(o.lblKyori) || 2 * k + 1 >= UBound(o.lineHojoSave) ||
      2 * k + 1 >= UBound(o.shpSnpo) || k >= UBound(o.lineDsSave)) {
    return false;
  }
  const LineRecord& e0 = o.lineHojoSave[static_cast<std::size_t>(2 * k)];
  const LineRecord& e1 = o.lineHojoSave[static_cast<std::size_t>(2 * k + 1)];
  const TextRecord& old = o.lblKyori[static_cast<std::size_t>(k)];
  // The hover text is the direction until the user writes a comment there;
  // a comment stays with the object.
  const std::optional<SegmentValue> was = MeasureViewSegment(doc, dis, e0.X1, e0.Y1, e1.X1, e1.Y1);
  const bool comment = !was || old.ToolTipText != was->direction;
  const std::string tip = old.ToolTipText;
  const std::string createdTag = old.Tag;
  const bool turned = TurnedOver(e0, e1);
  // The live lines lend their rules for the new place; what they showed
  // stays as it was.
  const std::array<LineRecord, 4> hojo = doc.live.lineHojo;
  const TextRecord liveLabel = doc.live.lblDistance;
  const bool ok = PrepareSegment(doc, s, x1, y1, x2, y2, dis);
  if (ok) {
    WriteDistanceObject(doc, s, k, KeptSide(doc.live), false);
    TextRecord& label = o.lblKyori[static_cast<std::size_t>(k)];
    if (comment) label.ToolTipText = tip;
    label.Tag = KeepCreationTime(label.Tag, createdTag);
    if (turned) TurnDimensionOver(o, k);
  }
  doc.live.lineHojo = hojo;
  doc.live.lblDistance = liveLabel;
  return ok;
}

void StartLiveDistance(Document& doc, float x, float y, const std::string& caption) {
  WorkingObjects& live = doc.live;
  LineRecord& l = live.lineDistance;
  l.X1 = l.X2 = x;
  l.Y1 = l.Y2 = y;
  l.Visible = true;
  TextRecord& label = live.lblDistance;
  label.Caption = caption;
  AutoSize(label, *doc.measurer);
  label.Left = x;
  label.Top = y - label.Height;
  label.Visible = true;
  StartExtensionLines(live, x, y);
  OrientExtensionLines(live, x, y, x, y, doc.state.GE_sngHojoLen);
  ShowExtensionLines(live, true);
}

void StartLine(Document& doc, MeasureSession& s, float x, float y) {
  StartLiveDistance(doc, x, y, "0.00 " + doc.state.strUnitD);
  s.flags.booMesShownDis = s.flags.booMesShownKei = false;
  if (doc.state.GE_booModeDis) s.flags.booMesRunDis = true;
  if (doc.state.GE_booModeKei) s.flags.booMesRunKei = true;
}

bool FollowLine(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  LineRecord& l = doc.live.lineDistance;
  const PointF e = ApplyShiftConstraint({l.X1, l.Y1}, {x, y}, shift);
  if (!IsFinite(e)) return false;
  l.X2 = e.x;
  l.Y2 = e.y;
  if (!UpdateLineLabel(doc, s)) return false;
  OrientExtensionLines(doc.live, l.X1, l.Y1, l.X2, l.Y2, doc.state.GE_sngHojoLen);
  return true;
}

bool FinishLine(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  LineRecord& l = doc.live.lineDistance;
  const PointF e = ApplyShiftConstraint({l.X1, l.Y1}, {x, y}, shift);
  l.X2 = e.x;
  l.Y2 = e.y;
  return !s.menu.popMesPutSen || KeepDistance(doc, s);
}

void StartCircle(Document& doc, MeasureSession& s, float x, float y) {
  StartLine(doc, s, x, y);
  ShapeRecord& c = doc.live.shpCircle;
  c.Height = c.Width = 0;
  c.Top = y;
  c.Left = x;
  c.Visible = true;
}

bool FollowCircle(Document& doc, MeasureSession& s, float y) {
  LineRecord& l = doc.live.lineDistance;
  const float height = ToSingle(2.0 * std::fabs(static_cast<double>(l.Y1) - y));
  const float width = ToSingle(height * doc.state.GE_dblAspectM);
  if (!std::isfinite(height) || !std::isfinite(width)) return false;
  l.X2 = l.X1;
  l.Y2 = y;
  if (!UpdateLineLabel(doc, s)) return false;
  OrientExtensionLines(doc.live, l.X1, l.Y1, l.X2, l.Y2, doc.state.GE_sngHojoLen);
  ShapeRecord& c = doc.live.shpCircle;
  c.Height = height;
  c.Width = width;
  c.Top = l.Y1 - height / 2;
  c.Left = l.X1 - width / 2;
  return true;
}

bool FinishCircle(Document& doc, MeasureSession& s) {
  return !s.menu.popMesPutSen || KeepDistance(doc, s);
}

bool FollowSpecified(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  LineRecord& l = doc.live.lineDistance;
  const PointF start{l.X1, l.Y1};
  const PointF p = ApplyShiftConstraint(start, {x, y}, shift);
  const ProjectState& st = doc.state;
  const bool dis = !s.flags.booMesMovedKei;
  // The end is found on the drawing at 100 %, where the calibration holds:
  // positions taken from zoomed millimetres would put the mean latitude of
  // the lat/long calibration elsewhere and the end off the true distance.
  const PointF a = Drawing(doc, start.x, start.y);
  const PointF b = Drawing(doc, p.x, p.y);
  const std::optional<SpecifiedEnd> e =
      dis ? SpecifiedDistanceEnd(st, a, b, s.dblFixedDistance)
          : SpecifiedDistanceEndGeo(st, a, b, ToSingle(s.dblFixedDistance));
  const double value =
      dis ? s.dblFixedDistance
          : MetresToDistanceUnit(s.dblFixedDistance, st.GE_intUnitDIndex, doc.settings.units);
  if (!e || !IsFinite(p) || !std::isfinite(value)) return false;
  const double zoom = doc.view.sngZoom;
  const PointF end{ToSingle(e->point.x * zoom), ToSingle(e->point.y * zoom)};
  if (!IsFinite(end)) return false;
  s.readout.txtPict[3] = e->directionText;
  l.X2 = p.x;
  l.Y2 = p.y;
  UpdateFixedLabel(doc, s, start.x, start.y, end.x, end.y, value);
  OrientExtensionLines(doc.live, start.x, start.y, end.x, end.y, st.GE_sngHojoLen);
  return true;
}

bool FinishSpecified(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  return FinishLine(doc, s, x, y, shift);
}

}  // namespace planimo
