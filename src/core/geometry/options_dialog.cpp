// The general rules of the options dialog: loading its fields, the mode and
// unit choices, the tab strip and what picking on the map does to it.

#include "geometry/options_dialog.h"

#include <charconv>
#include <cmath>
#include <string>

#include "geometry/distance.h"
#include "geometry/number_format.h"
#include "geometry/options_form_fill.h"
#include "geometry/units.h"

namespace planimo {

std::array<std::string, 4>& DmsGroup(OptionsForm& f, int g) {
  switch (g) {
    case 0: return f.txtKeido1;
    case 1: return f.txtIdo1;
    case 2: return f.txtKeido2;
    default: return f.txtIdo2;
  }
}

OptionBox DmsGroupBox(int g) {
  switch (g) {
    case 0: return OptionBox::txtKeido1;
    case 1: return OptionBox::txtIdo1;
    case 2: return OptionBox::txtKeido2;
    default: return OptionBox::txtIdo2;
  }
}

bool TabAvailable(const ProjectState& s, int tab) {
  switch (tab) {
    case 0: return true;
    case 2: return s.GE_booModeDis;
    case 1:
    case 3: return !s.GE_booModeDis;
    default: return false;
  }
}

void LoadOptionsForm(Document& doc, OptionsForm& f) {
  ProjectState& s = doc.state;
  ChooseMode(doc, f, s.GE_booModeDis ? 0 : 1);
  f.chkSnap = s.GE_booSnap;
  f.txtHojoLen = SingleText(s.GE_sngHojoLen);

  const UnitTables& units = doc.settings.units;
  f.optUnitD = units.UnitDistance;
  f.optUnitS = units.UnitArea;
  // A broken index falls back to the default unit rather than to no unit.
  ChooseDistanceUnit(doc, f, IsUnitIndex(s.GE_intUnitDIndex) ? s.GE_intUnitDIndex : 2);
  ChooseAreaUnit(doc, f, IsUnitIndex(s.GE_intUnitSIndex) ? s.GE_intUnitSIndex : 2);

  SetDecimalsD(doc, f, s.intDPointD);
  SetDecimalsS(doc, f, s.intDPointS);
  FillTiltBoxes(s, f);
  FillKnownDistanceBoxes(s, f);
  subDisp_Rato(doc, f);
  FillParaLabels(s, f);
  FillLatLongBoxes(s, f);
}

FocusMove ActivateOptionsForm(Document& doc, OptionsForm& f) {
  return SelectOptionTab(doc, f, doc.state.intOptionTab);
}

void ChooseDistanceUnit(Document& doc, OptionsForm& f, int n) {
  if (!IsUnitIndex(n)) return;
  f.unitD = n;
  doc.state.strUnitD = f.optUnitD[n];
  if (doc.state.GE_intUnitDIndex != n) MarkChanged(doc);
  doc.state.GE_intUnitDIndex = static_cast<std::int16_t>(n);
  f.lblUnit = {f.optUnitD[n], f.optUnitD[n]};
  subDisp_Rato(doc, f);
}

void ChooseAreaUnit(Document& doc, OptionsForm& f, int n) {
  if (!IsUnitIndex(n)) return;
  f.unitS = n;
  doc.state.strUnitS = f.optUnitS[n];
  if (doc.state.GE_intUnitSIndex != n) MarkChanged(doc);
  doc.state.GE_intUnitSIndex = static_cast<std::int16_t>(n);
}

FocusMove DistanceUnitKey(const Document& doc, OptionsForm& f) {
  subDisp_Rato(doc, f);
  return {{OptionBox::cmdOK, 0}, false};
}

void ChooseMode(Document& doc, OptionsForm& f, int mode) {
  const bool distance = mode == 0;
  f.optMOde = distance ? 0 : 1;
  if (doc.state.GE_booModeDis != distance) MarkChanged(doc);
  doc.state.GE_booModeDis = distance;
  doc.state.GE_booModeKei = !distance;
  for (int t = 0; t < kOptionTabCount; ++t) f.tabEnabled[t] = TabAvailable(doc.state, t);
}

namespace {

void ShowCheckMarks(Document& doc, bool visible) {
  doc.live.lineCheck.Visible = visible;
  doc.live.shpCheck[0].Visible = visible;
  doc.live.shpCheck[1].Visible = visible;
}

}  // namespace

FocusMove SelectOptionTab(Document& doc, OptionsForm& f, int tab) {
  ProjectState& s = doc.state;
  if (!TabAvailable(s, tab)) tab = 0;
  s.booPickHosei = s.booPickDis = s.booPickTaiou = false;
  ShowCheckMarks(doc, false);
  FocusMove move;
  switch (tab) {
    case 1:
      move = {{OptionBox::txtHosei, 0}, true};
      f.mapToolTip = "傾き補正";
      ShowTiltLine(doc, s.GE_sngHosei[0], s.GE_sngHosei[1], s.GE_sngHosei[2], s.GE_sngHosei[3]);
      ShowCheckMarks(doc, true);
      s.booPickHosei = true;
      break;
    case 2:
      move = {{OptionBox::txtXY, 5}, true};
      f.mapToolTip = "既知の距離入力";
      subDisp_Rato(doc, f);
      f.lblUnit = {f.optUnitD[f.unitD], f.optUnitD[f.unitD]};
      s.booPickDis = true;
      break;
    case 3:
      move = {{OptionBox::txtKeido1, 0}, true};
      f.mapToolTip = "既知の経緯度入力";
      ShowTiltLine(doc, s.GE_tpPiccel_1X, s.GE_tpPiccel_1Y, s.GE_tpPiccel_2X, s.GE_tpPiccel_2Y);
      ShowCheckMarks(doc, true);
      s.booPickTaiou = true;
      break;
    default:
      f.mapToolTip.clear();
      break;
  }
  f.SSTab = tab;
  s.intOptionTab = static_cast<std::int16_t>(tab);
  return move;
}

void subDisp_Rato(const Document& doc, OptionsForm& f) {
  const UnitTables& units = doc.settings.units;
  const double dx = ParseNumber(f.txtXY[4]).value_or(0);
  const double lx = ParseNumber(f.txtXY[5]).value_or(0);
  const double dy = ParseNumber(f.txtXY[10]).value_or(0);
  const double ly = ParseNumber(f.txtXY[11]).value_or(0);
  f.lblRecio[0] = DrawingScaleText(dx, lx, f.unitD, units);
  f.lblRecio[1] = DrawingScaleText(dy, ly, f.unitD, units);
  const double rx = dx > 0 && lx > 0 ? lx / dx : 0;
  const double ry = dy > 0 && ly > 0 ? ly / dy : 0;
  const double aspect = rx > 0 && ry > 0 ? ry / rx : 1.0;
  f.lblRecio[2] = AspectRatioText(std::isfinite(aspect) ? aspect : 1.0);
}

FocusMove HojoLenEnter(Document& doc, OptionsForm& f) {
  const std::optional<float> v = ReadSingle(f.txtHojoLen);
  if (!v) return {};
  if (doc.state.GE_sngHojoLen != *v) MarkChanged(doc);
  doc.state.GE_sngHojoLen = *v;
  return {{OptionBox::chkSnap, 0}, false};
}

void HojoLenLeave(Document& doc, OptionsForm& f) {
  if (const std::optional<float> v = ReadSingle(f.txtHojoLen)) {
    if (doc.state.GE_sngHojoLen != *v) MarkChanged(doc);
    doc.state.GE_sngHojoLen = *v;
  } else {
    f.txtHojoLen = SingleText(doc.state.GE_sngHojoLen);
  }
}

void SetSnap(Document& doc, OptionsForm& f, bool on) {
  f.chkSnap = on;
  if (doc.state.GE_booSnap != on) MarkChanged(doc);
  doc.state.GE_booSnap = on;
}

namespace {

// The decimals run from 0 to 8, the entries of the number-pattern table.
std::int16_t ClampDecimals(int decimals) {
  return static_cast<std::int16_t>(decimals < 0 ? 0 : decimals > 8 ? 8 : decimals);
}

}  // namespace

void SetDecimalsD(Document& doc, OptionsForm& f, int decimals) {
  doc.state.intDPointD = ClampDecimals(decimals);
  f.vscDPointD = doc.state.intDPointD;
  f.lblDPointD = std::to_string(f.vscDPointD);
}

void SetDecimalsS(Document& doc, OptionsForm& f, int decimals) {
  doc.state.intDPointS = ClampDecimals(decimals);
  f.vscDPointS = doc.state.intDPointS;
  f.lblDPointS = std::to_string(f.vscDPointS);
}

void RefreshFromState(const Document& doc, OptionsForm& f) {
  const ProjectState& s = doc.state;
  FillTiltBoxes(s, f);
  // A reference pair is rewritten only when its points moved, so a length
  // typed into box 4 or 10 is not overwritten by an unrelated refresh.
  for (const int base : {0, 6}) {
    const SinglePoint& a = s.GE_tpPiccelD[base == 0 ? 0 : 2];
    const SinglePoint& b = s.GE_tpPiccelD[base == 0 ? 1 : 3];
    const std::array<float, 4> want{a.sngX, b.sngX, a.sngY, b.sngY};
    bool same = true;
    for (int k = 0; k < 4; ++k) same = same && ReadSingle(f.txtXY[base + k]) == want[k];
    if (same) continue;
    for (int k = 0; k < 4; ++k) f.txtXY[base + k] = SingleText(want[k]);
    const float length = PlaneDistance(a.sngX, a.sngY, b.sngX, b.sngY);
    if (std::isfinite(length)) f.txtXY[base + 4] = SingleText(length);
  }
  subDisp_Rato(doc, f);
  f.txtPict_mm1 = {SingleText(s.GE_tpPiccel_1X), SingleText(s.GE_tpPiccel_1Y)};
  f.txtPict_mm2 = {SingleText(s.GE_tpPiccel_2X), SingleText(s.GE_tpPiccel_2Y)};
}

void CloseOptionsForm(Document& doc, OptionsForm& f) {
  ProjectState& s = doc.state;
  s.booPickHosei = s.booPickDis = s.booPickTaiou = false;
  // The check marks belong to the open calibration tab; nothing explains
  // them once the dialog has gone.
  ShowCheckMarks(doc, false);
  f.mapToolTip.clear();
  f.SSTab = 0;
}

}  // namespace planimo
