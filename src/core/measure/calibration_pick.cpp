#include "measure/calibration_pick.h"

#include <cmath>

#include "geometry/distance.h"
#include "geometry/number_format.h"
#include "geometry/shift_constraint.h"
#include "geometry/tilt.h"
#include "measure/line_measure.h"

namespace planimo {

namespace {

constexpr float kPickBox = 10.0f;

bool InBox(float px, float py, float x, float y) {
  return x - kPickBox <= px && px <= x + kPickBox && y - kPickBox <= py && py <= y + kPickBox;
}

void MoveTiltPoint(Document& doc, MeasureSession& s, float x, float y, PickReport& r) {
  std::array<float, 4>& h = doc.state.GE_sngHosei;
  if (s.menu.popHoseiL) {
    h[0] = x;
    h[1] = y;
    ShowTiltLine(doc, x, y, h[2], h[3]);
    r.tiltPointsMoved = true;
    MarkChanged(doc);
  }
  if (s.menu.popHoseiR) {
    h[2] = x;
    h[3] = y;
    ShowTiltLine(doc, h[0], h[1], x, y);
    r.tiltPointsMoved = true;
    MarkChanged(doc);
  }
}

void MoveTaiouPoint(Document& doc, MeasureSession& s, float x, float y, PickReport& r) {
  ProjectState& st = doc.state;
  if (s.menu.popTaiou1) {
    st.GE_tpPiccel_1X = x;
    st.GE_tpPiccel_1Y = y;
    ShowTiltLine(doc, st.GE_tpPiccel_2X, st.GE_tpPiccel_2Y, x, y);
    r.taiouPointsMoved = true;
  }
  if (s.menu.popTaiou2) {
    st.GE_tpPiccel_2X = x;
    st.GE_tpPiccel_2Y = y;
    ShowTiltLine(doc, st.GE_tpPiccel_1X, st.GE_tpPiccel_1Y, x, y);
    r.taiouPointsMoved = true;
  }
}

}  // namespace

void TiltPickDown(Document& doc, MeasureSession& s, float x, float y, PickReport& r) {
  if (!doc.state.booPickHosei) return;
  const std::array<float, 4>& h = doc.state.GE_sngHosei;
  if (InBox(h[0], h[1], x, y)) ChooseHoseiPoint(s, 0);
  if (InBox(h[2], h[3], x, y)) ChooseHoseiPoint(s, 1);
  MoveTiltPoint(doc, s, x, y, r);
}

void TiltPickDrag(Document& doc, MeasureSession& s, float x, float y, PickReport& r) {
  if (doc.state.booPickHosei) MoveTiltPoint(doc, s, x, y, r);
}

bool TiltPickUp(Document& doc, MeasureSession& s, PickReport& r) {
  if (!doc.state.booPickHosei) return true;
  s.menu.popHoseiL = s.menu.popHoseiR = false;
  if (!ComputeTiltCorrection(doc.state)) return false;
  r.tiltCorrectionChanged = true;
  return true;
}

void TaiouPickDown(Document& doc, MeasureSession& s, float x, float y, PickReport& r) {
  if (!doc.state.booPickTaiou) return;
  const ProjectState& st = doc.state;
  if (InBox(st.GE_tpPiccel_1X, st.GE_tpPiccel_1Y, x, y)) ChooseTaiouPoint(s, 0);
  if (InBox(st.GE_tpPiccel_2X, st.GE_tpPiccel_2Y, x, y)) ChooseTaiouPoint(s, 1);
  MoveTaiouPoint(doc, s, x, y, r);
}

void TaiouPickDrag(Document& doc, MeasureSession& s, float x, float y, PickReport& r) {
  if (doc.state.booPickTaiou) MoveTaiouPoint(doc, s, x, y, r);
}

void TaiouPickUp(MeasureSession& s) { s.menu.popTaiou1 = s.menu.popTaiou2 = false; }

void StartKnownDistanceLine(Document& doc, MeasureSession& s, float x, float y, PickReport& r) {
  StartLiveDistance(doc, x, y, "0.00 mm");
  s.flags.booKnownDisRun = true;
  r.knownDistance = KnownDistanceReport{s.menu.popDisY ? 1 : 0, x, y, x, y, 0.0f};
}

bool FollowKnownDistanceLine(Document& doc, MeasureSession& s, float x, float y, bool shift,
                             PickReport& r) {
  LineRecord& l = doc.live.lineDistance;
  const PointF e = ApplyShiftConstraint({l.X1, l.Y1}, {x, y}, shift);
  const float length =
      ToSingle(PlaneDistance(l.X1, l.Y1, e.x, e.y) / static_cast<double>(doc.view.sngZoom));
  if (!IsFinite(e) || !std::isfinite(length)) return false;
  l.X2 = e.x;
  l.Y2 = e.y;
  // The picking line measures drawing millimetres, never the project's unit.
  TextRecord& label = doc.live.lblDistance;
  label.Caption = FormatNumber(length, "0.00") + " mm";
  AutoSize(label, *doc.measurer);
  label.Left = (e.x - l.X1) / 2 + l.X1 - label.Width / 2;
  label.Top = (e.y - l.Y1) / 2 + l.Y1;
  OrientExtensionLines(doc.live, l.X1, l.Y1, l.X2, l.Y2, doc.state.GE_sngHojoLen);
  if (s.menu.popDisX || s.menu.popDisY) {
    r.knownDistance = KnownDistanceReport{s.menu.popDisY ? 1 : 0, l.X1, l.Y1, l.X2, l.Y2, length};
  }
  return true;
}

bool FinishKnownDistanceLine(Document& doc, MeasureSession& s, PickReport& r) {
  if (s.menu.popDisX) {
    const LineRecord& l = doc.live.lineDistance;
    ProjectState& st = doc.state;
    const std::array<float, 4> before = st.GE_sngHosei;
    st.GE_sngHosei = {l.X1, l.Y1, l.X2, l.Y2};
    if (!ComputeTiltCorrection(st)) {
      st.GE_sngHosei = before;
      return false;
    }
    ShowTiltLine(doc, l.X1, l.Y1, l.X2, l.Y2);
    doc.live.lineCheck.Visible = true;
    doc.live.shpCheck[0].Visible = doc.live.shpCheck[1].Visible = true;
    r.tiltPointsMoved = r.tiltCorrectionChanged = true;
  }
  r.ratioDisplay = true;
  return true;
}

}  // namespace planimo
