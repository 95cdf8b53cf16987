// The calibration tabs of the options dialog: tilt points, known distances
// and the two correspondence points of known longitude and latitude. Typed
// text reaches the project only as a finite number; anything else puts the
// stored value (or 0) back into its box.

#include <cmath>
#include <string>

#include "geometry/calibration.h"
#include "geometry/distance.h"
#include "geometry/dms.h"
#include "geometry/number_format.h"
#include "geometry/options_dialog.h"
#include "geometry/options_form_fill.h"
#include "geometry/tilt.h"

namespace planimo {

namespace {

FocusMove MoveTo(OptionBox box, int index) { return {{box, index}, true}; }

}  // namespace

FocusMove HoseiEnter(const OptionsForm& f, int i) {
  if (i < 0 || i > 3 || !ReadSingle(f.txtHosei[i])) return {};
  return MoveTo(OptionBox::txtHosei, (i + 1) % 4);
}

bool HoseiLeave(Document& doc, OptionsForm& f, int i) {
  if (i < 0 || i > 3) return false;
  ProjectState& s = doc.state;
  const std::optional<float> v = ReadSingle(f.txtHosei[i]);
  if (!v) {
    f.txtHosei[i] = SingleText(s.GE_sngHosei[i]);
    return false;
  }
  const float old = s.GE_sngHosei[i];
  s.GE_sngHosei[i] = *v;
  if (!ComputeTiltCorrection(s)) {
    s.GE_sngHosei[i] = old;
    f.txtHosei[i] = SingleText(old);
    return false;
  }
  ShowTiltLine(doc, s.GE_sngHosei[0], s.GE_sngHosei[1], s.GE_sngHosei[2], s.GE_sngHosei[3]);
  if (*v != old) MarkChanged(doc);
  FillTiltBoxes(s, f);
  return true;
}

FocusMove XYEnter(const OptionsForm& f, int i) {
  if (i < 0 || i > 11 || !ReadSingle(f.txtXY[i])) return {};
  return MoveTo(OptionBox::txtXY, (i + 1) % 12);
}

void XYLeave(Document& doc, OptionsForm& f, int i) {
  if (i < 0 || i > 11) return;
  if (!ReadSingle(f.txtXY[i])) {
    f.txtXY[i] = "0";
  } else if (i <= 3 || (i >= 6 && i <= 9)) {
    // The reference points are taken at once; the drawing length follows
    // them into box 4 or 10 and waits there for "設定".
    const int base = i <= 3 ? 0 : 6;
    const int point = i <= 3 ? 0 : 2;
    float v[4];
    for (int k = 0; k < 4; ++k) v[k] = ReadSingle(f.txtXY[base + k]).value_or(0);
    doc.state.GE_tpPiccelD[point] = {v[0], v[2]};
    doc.state.GE_tpPiccelD[point + 1] = {v[1], v[3]};
    MarkChanged(doc);
    const float length = PlaneDistance(v[0], v[2], v[1], v[3]);
    if (std::isfinite(length)) f.txtXY[base + 4] = SingleText(length);
  }
  // The scale texts follow every box they depend on, also a length that a
  // moved reference point has just changed.
  subDisp_Rato(doc, f);
}

namespace {

// Real length per drawing millimetre from one reference, if both are positive.
void StoreRatio(float drawing, float real, double& ratio) {
  if (!(drawing > 0) || !(real > 0)) return;
  const double r = static_cast<double>(real) / drawing;
  if (std::isfinite(r) && r > 0) ratio = r;
}

}  // namespace

void ApplyKnownDistance(Document& doc, OptionsForm& f) {
  ProjectState& s = doc.state;
  float* targets[4] = {&s.GE_sngPiccelD_X, &s.GE_sngDistanceD_X, &s.GE_sngPiccelD_Y,
                       &s.GE_sngDistanceD_Y};
  const int boxes[4] = {4, 5, 10, 11};
  for (int k = 0; k < 4; ++k) {
    if (const std::optional<float> v = ReadSingle(f.txtXY[boxes[k]])) {
      *targets[k] = *v;
    } else {
      f.txtXY[boxes[k]] = SingleText(*targets[k]);
    }
  }
  StoreRatio(s.GE_sngPiccelD_X, s.GE_sngDistanceD_X, s.GE_tpPtoD_r_X);
  StoreRatio(s.GE_sngPiccelD_Y, s.GE_sngDistanceD_Y, s.GE_tpPtoD_r_Y);
  const double aspect = s.GE_tpPtoD_r_Y / s.GE_tpPtoD_r_X;
  const bool positive = s.GE_tpPtoD_r_X > 0 && s.GE_tpPtoD_r_Y > 0;
  s.GE_dblAspectM = positive && std::isfinite(aspect) ? aspect : 1.0;
  MarkChanged(doc);
  subDisp_Rato(doc, f);
}

void ReportDistancePick(Document& doc, OptionsForm& f, bool horizontal, float x1, float y1, float x2,
                        float y2, float length) {
  for (const float v : {x1, y1, x2, y2, length}) {
    if (!std::isfinite(v)) return;
  }
  const int base = horizontal ? 0 : 6;
  const int point = horizontal ? 0 : 2;
  f.txtXY[base + 0] = SingleText(x1);
  f.txtXY[base + 1] = SingleText(x2);
  f.txtXY[base + 2] = SingleText(y1);
  f.txtXY[base + 3] = SingleText(y2);
  f.txtXY[base + 4] = SingleText(length);
  doc.state.GE_tpPiccelD[point] = {x1, y1};
  doc.state.GE_tpPiccelD[point + 1] = {x2, y2};
  MarkChanged(doc);
  subDisp_Rato(doc, f);
}

namespace {

std::string& PictBox(OptionsForm& f, int point, int i) {
  return point == 0 ? f.txtPict_mm1[i] : f.txtPict_mm2[i];
}

float& PictValue(ProjectState& s, int point, int i) {
  if (point == 0) return i == 0 ? s.GE_tpPiccel_1X : s.GE_tpPiccel_1Y;
  return i == 0 ? s.GE_tpPiccel_2X : s.GE_tpPiccel_2Y;
}

void ShowCorrespondence(Document& doc, const OptionsForm& f) {
  const ProjectState& s = doc.state;
  if (f.SSTab == 3) {
    ShowTiltLine(doc, s.GE_tpPiccel_1X, s.GE_tpPiccel_1Y, s.GE_tpPiccel_2X, s.GE_tpPiccel_2Y);
  }
}

bool ValidPoint(int point, int i) { return (point == 0 || point == 1) && (i == 0 || i == 1); }

}  // namespace

FocusMove PictMmEnter(const OptionsForm& f, int point, int i) {
  if (!ValidPoint(point, i)) return {};
  if (!ReadSingle(point == 0 ? f.txtPict_mm1[i] : f.txtPict_mm2[i])) return {};
  // x, y of point 1, then x, y of point 2, then round again.
  const int next = (point * 2 + i + 1) % 4;
  return MoveTo(next < 2 ? OptionBox::txtPict_mm1 : OptionBox::txtPict_mm2, next % 2);
}

bool PictMmLeave(Document& doc, OptionsForm& f, int point, int i) {
  if (!ValidPoint(point, i)) return false;
  std::string& box = PictBox(f, point, i);
  float& stored = PictValue(doc.state, point, i);
  const std::optional<float> v = ReadSingle(box);
  if (!v) {
    box = SingleText(stored);
    return false;
  }
  stored = *v;
  ShowCorrespondence(doc, f);
  return true;
}

FocusMove DmsEnter(OptionsForm& f, int group, int i) {
  if (group < 0 || group >= kDmsGroupCount || i < 0 || i > 3) return {};
  std::array<std::string, 4>& box = DmsGroup(f, group);
  const std::optional<double> value = ParseNumber(box[i]);
  if (!value) {
    box[i] = "0";
    return {};
  }
  const FocusMove stay{{DmsGroupBox(group), i}, true};
  const OptionBox next = DmsGroupBox((group + 1) % kDmsGroupCount);

  if (i == 3) {
    if (!(*value >= 0)) return stay;
    const std::optional<DmsText> dms = SecondsToDms(*value);
    if (!dms) return stay;
    if (!(*value > 0)) return {};
    box[0] = std::to_string(dms->dms.intDeg);
    box[1] = std::to_string(dms->dms.intMin);
    box[2] = SingleText(dms->dms.sngSec);
    return MoveTo(next, 3);
  }

  const double limit = i == 0 ? 360 : 60;
  if (!(*value >= 0 && *value < limit)) return stay;
  const std::optional<std::int16_t> d = ReadInteger(box[0]);
  const std::optional<std::int16_t> m = ReadInteger(box[1]);
  const std::optional<float> s = ParseNumber(box[2]) ? ReadSingle(box[2]) : 0.0f;
  if (!d || !m || !s) return stay;
  const double t = DmsToSeconds(*d, *m, *s);
  if (!(t > 0)) return {};
  box[3] = DoubleText(t);
  return i == 2 ? MoveTo(next, 0) : MoveTo(DmsGroupBox(group), i + 1);
}

void DmsLeave(OptionsForm& f, int group, int i) {
  if (group < 0 || group >= kDmsGroupCount || i < 0 || i > 3) return;
  std::string& box = DmsGroup(f, group)[i];
  if (!ParseNumber(box)) box = "0";
}

bool ApplyLatLong(Document& doc, OptionsForm& f) {
  ProjectState& s = doc.state;
  // Degrees, minutes and seconds win over a typed total; a group whose
  // pieces do not fit their record refuses the whole command.
  DmsRecord records[kDmsGroupCount];
  for (int g = 0; g < kDmsGroupCount; ++g) {
    const std::array<std::string, 4>& box = DmsGroup(f, g);
    const std::optional<std::int16_t> d = ReadInteger(box[0]);
    const std::optional<std::int16_t> m = ReadInteger(box[1]);
    const std::optional<float> sec = ParseNumber(box[2]) ? ReadSingle(box[2]) : 0.0f;
    if (!d || !m || !sec) return false;
    records[g] = {*d, *m, *sec};
  }
  double totals[kDmsGroupCount];
  for (int g = 0; g < kDmsGroupCount; ++g) {
    totals[g] = DmsToSeconds(records[g].intDeg, records[g].intMin, records[g].sngSec);
    DmsGroup(f, g)[3] = DoubleText(totals[g]);
  }
  for (int point = 0; point < 2; ++point) {
    for (int i = 0; i < 2; ++i) {
      if (const std::optional<float> v = ReadSingle(PictBox(f, point, i))) {
        PictValue(s, point, i) = *v;
      } else {
        PictBox(f, point, i) = SingleText(PictValue(s, point, i));
      }
    }
  }
  s.GE_dblKeIdo[0] = records[0];
  s.GE_dblIdo[0] = records[1];
  s.GE_dblKeIdo[1] = records[2];
  s.GE_dblIdo[1] = records[3];
  s.GE_dblKeido0 = totals[0];
  s.GE_dblIdo0 = totals[1];
  s.GE_dblKeido1 = totals[2];
  s.GE_dblIdo1 = totals[3];
  MarkChanged(doc);
  const bool computed = ComputeLatLongCalibration(s);
  FillParaLabels(s, f);
  ShowCorrespondence(doc, f);
  return computed;
}

}  // namespace planimo
