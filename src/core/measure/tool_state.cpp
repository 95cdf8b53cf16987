#include "measure/tool_state.h"

#include <cmath>

#include "geometry/number_format.h"
#include "geometry/units.h"
#include "measure/abandon.h"

namespace planimo {

namespace {

void HideLineAndLabel(Document& doc) {
  doc.live.lblDistance.Visible = false;
  doc.live.lineDistance.Visible = false;
  for (LineRecord& l : doc.live.lineHojo) l.Visible = false;
}

// The number at the start of the specified-distance entry (text before its
// first blank).
std::string CaptionNumber(const std::string& caption) {
  return caption.substr(0, caption.find(' '));
}

}  // namespace

Tool CurrentTool(const MenuState& m) {
  if (m.mnuToolLine) return Tool::Leader;
  if (m.mnuToolCmnt) return Tool::Comment;
  if (m.mnuToolPinfo) return Tool::Position;
  return Tool::Measure;
}

MeasureMode CurrentMode(const MenuState& m) {
  if (m.popMesLine) return MeasureMode::Line;
  if (m.popMesRenzoku) return MeasureMode::Path;
  if (m.popMesCir) return MeasureMode::Circle;
  if (m.popMesInput) return MeasureMode::Specified;
  return MeasureMode::Select;
}

bool RangeZoomChecked(const MenuState& m) { return m.mnuDispEnlarge || m.mnuDispFit; }

std::string ToolCaption(Tool t) {
  switch (t) {
    case Tool::Measure: return "測定ツール";
    case Tool::Leader: return "引き出し線";
    case Tool::Comment: return "文字列";
    case Tool::Position: return "位置情報";
  }
  return {};
}

std::string ModeText(const MenuState& m) {
  switch (CurrentTool(m)) {
    case Tool::Measure:
      switch (CurrentMode(m)) {
        case MeasureMode::Select: return "選択モード";
        case MeasureMode::Line: return "直線の測定";
        case MeasureMode::Path: return "連続入力";
        case MeasureMode::Circle: return "半径円内の測定";
        case MeasureMode::Specified: return "規定の距離 入力";
      }
      break;
    case Tool::Leader:
      return m.popHkdSenNew ? "新規作成" : "選択モード";
    case Tool::Comment:
    case Tool::Position:
      return m.popMojiNew ? "新規作成" : "選択モード";
  }
  return {};
}

void SelectTool(MeasureSession& s, Tool t) {
  MenuState& m = s.menu;
  m.mnuToolMes = t == Tool::Measure;
  m.mnuToolLine = t == Tool::Leader;
  m.mnuToolCmnt = t == Tool::Comment;
  m.mnuToolPinfo = t == Tool::Position;
  const bool mes = t == Tool::Measure;
  const bool hkd = t == Tool::Leader;
  const bool txt = t == Tool::Comment || t == Tool::Position;
  EditMenuEnabled& e = m.popEdit;
  e.popEditRev = mes;
  e.popEditColor = mes || txt;
  e.popEditFont = mes || txt;
  e.popEditWidthP = mes || hkd;
  e.popEditStyle = mes || hkd;
  e.popEditBorderColor = mes || hkd;
  e.popEditUnitDistance = mes;
  e.popEditUnitSquea = mes;
  e.popEditDesiPoint = mes;
  e.popEditDpp = hkd || t == Tool::Comment;
  e.popEditDel = true;
  if (txt) {
    m.popMojiNew = true;
    m.popMojiSelect = false;
  }
  s.panel3 = ToolCaption(t);
  s.panel4 = ModeText(m);
}

void SelectMode(Document& doc, MeasureSession& s, MeasureMode mode, InputAsker* asker) {
  // The popup that carries these commands stays shut while a measurement
  // runs; should a mode command still arrive then, it drops the measurement.
  if (MeasurementRunning(s)) AbandonMeasurement(doc, s);
  MenuState& m = s.menu;
  m.popMesCancel = m.popMesLine = m.popMesRenzoku = m.popMesCir = m.popMesInput = false;
  m.popMesAllClr = false;
  m.popMesPutMenEnabled = false;
  switch (mode) {
    case MeasureMode::Select: m.popMesCancel = true; break;
    case MeasureMode::Line: m.popMesLine = true; break;
    case MeasureMode::Path: m.popMesRenzoku = true; break;
    case MeasureMode::Circle: m.popMesCir = true; break;
    case MeasureMode::Specified: m.popMesInput = true; break;
  }
  ClearWorkingPath(doc.live);
  s.flags.booPathStarted = false;
  if (mode == MeasureMode::Select || mode == MeasureMode::Line || mode == MeasureMode::Path) {
    doc.live.shpCircle.Visible = false;
    HideLineAndLabel(doc);
  }
  if (mode == MeasureMode::Path) {
    m.popMesPutMen = true;
    m.popMesPutMenEnabled = true;
  }
  if (mode == MeasureMode::Specified && asker != nullptr) {
    const ProjectState& st = doc.state;
    const std::optional<std::string> answer =
        asker->AskNumber("距離を入力してください", "距離入力", st.strUnitD,
                         CaptionNumber(doc.specifiedDistanceCaption));
    // A cancel, an empty or a non-numeric answer keeps the previous distance;
    // a distance that does not stay finite in metres is refused the same way.
    const std::optional<double> v =
        answer && !answer->empty() ? ParseNumber(*answer) : std::nullopt;
    if (v && std::isfinite(*v)) {
      double d = *v;
      if (!st.GE_booModeDis && st.GE_booModeKei) {
        d = DistanceUnitToMetres(d, st.GE_intUnitDIndex, doc.settings.units);
      }
      if (std::isfinite(d)) {
        s.dblFixedDistance = d;
        doc.specifiedDistanceCaption = *answer + " " + st.strUnitD;
      }
    }
  }
  s.panel4 = ModeText(m);
}

void TogglePutSen(MeasureSession& s) { s.menu.popMesPutSen = !s.menu.popMesPutSen; }

void TogglePutMen(MeasureSession& s) {
  MenuState& m = s.menu;
  m.popMesPutMen = !(m.popMesPutMen || !m.popMesRenzoku);
}

void SetExtensionLength(Document& doc, MeasureSession& s, int millimetres) {
  if (millimetres % 5 != 0 || millimetres < 5 || millimetres > 30) return;
  s.menu.popMesHj.fill(false);
  s.menu.popMesHj[static_cast<std::size_t>(millimetres / 5 - 1)] = true;
  if (doc.state.GE_sngHojoLen != static_cast<float>(millimetres)) MarkChanged(doc);
  doc.state.GE_sngHojoLen = static_cast<float>(millimetres);
}

void ClearMeasurementData(Document& doc, MeasureSession& s) {
  AbandonMeasurement(doc, s);
  Collections& o = doc.objects;
  if (o.lblKyori.size() > 1 || o.lblKeiroS.size() > 1 || o.lblMensekiS.size() > 1 || o.linePS.size() > 1) {
    MarkChanged(doc);
  }
  ClearCollection(o.lineHojoSave);
  ClearCollection(o.lineDsSave);
  ClearCollection(o.shpSnpo);
  ClearCollection(o.lblKyori);
  ClearCollection(o.lblKeiroS);
  ClearCollection(o.lblMensekiS);
  ClearCollection(o.linePS);
}

void ChooseHoseiPoint(MeasureSession& s, int which) {
  s.menu.popHoseiL = which == 0;
  s.menu.popHoseiR = which != 0;
}

void ChooseDisPair(MeasureSession& s, int which) {
  s.menu.popDisX = which == 0;
  s.menu.popDisY = which != 0;
}

void ChooseTaiouPoint(MeasureSession& s, int which) {
  s.menu.popTaiou1 = which == 0;
  s.menu.popTaiou2 = which != 0;
}

void ChooseLeaderCreate(MeasureSession& s, bool create) {
  s.menu.popHkdSenNew = create;
  s.menu.popHkdSenSelect = !create;
  if (CurrentTool(s.menu) == Tool::Leader) s.panel4 = ModeText(s.menu);
}

void ChooseTextCreate(MeasureSession& s, bool create) {
  s.menu.popMojiNew = create;
  s.menu.popMojiSelect = !create;
  const Tool t = CurrentTool(s.menu);
  if (t == Tool::Comment || t == Tool::Position) s.panel4 = ModeText(s.menu);
}

}  // namespace planimo
