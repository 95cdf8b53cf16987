#include "model/document.h"

namespace planimo {

namespace {

constexpr std::array<const char*, 7> kPatterns = {
    " #,###,##0 ", " ###,##0.0 ", " ##,##0.00 ", " #,##0.000 ",
    " ##0.0000 ",  " #0.00000 ",  " 0.000000 ",
};

}  // namespace

Document::Document()
    : measurer(std::make_shared<ApproxTextMeasurer>()), clock(std::make_shared<SystemClock>()) {}

void ShowTiltLine(Document& doc, float x1, float y1, float x2, float y2) {
  LineRecord& line = doc.live.lineCheck;
  line.X1 = x1;
  line.Y1 = y1;
  line.X2 = x2;
  line.Y2 = y2;
  ShapeRecord& m0 = doc.live.shpCheck[0];
  m0.Left = x1 - m0.Width / 2;
  m0.Top = y1 - m0.Height / 2;
  ShapeRecord& m1 = doc.live.shpCheck[1];
  m1.Left = x2 - m1.Width / 2;
  m1.Top = y2 - m1.Height / 2;
}

void PlaceDefaultSample(Document& doc) {
  TextRecord& label = doc.live.lblDefault;
  LineRecord& line = doc.live.linDefault;
  label.Top = 10.2645f;
  label.Left = 10.2645f;
  label.Caption = "デフォルト ";
  AutoSize(label, *doc.measurer);
  line.X1 = label.Left;
  line.X2 = label.Left + label.Width;
  line.Y1 = line.Y2 = label.Top + 4;
  label.Visible = line.Visible = true;
}

void ResetProjectDefaults(Document& doc) {
  ProjectState& s = doc.state;
  const ProjectState d;  // the defaults, as declared
  s.GE_booModeDis = d.GE_booModeDis;
  s.GE_booModeKei = d.GE_booModeKei;
  s.takeoffItems = d.takeoffItems;
  doc.view.sngZoom = 1.0f;
  doc.view.sngZoomPrev = 1.0f;
  s.GE_sngHosei = d.GE_sngHosei;
  ShowTiltLine(doc, s.GE_sngHosei[0], s.GE_sngHosei[1], s.GE_sngHosei[2], s.GE_sngHosei[3]);
  s.GE_tpPiccelD = d.GE_tpPiccelD;
  s.GE_sngPiccelD_X = d.GE_sngPiccelD_X;
  s.GE_sngPiccelD_Y = d.GE_sngPiccelD_Y;
  s.GE_sngDistanceD_X = d.GE_sngDistanceD_X;
  s.GE_sngDistanceD_Y = d.GE_sngDistanceD_Y;
  s.GE_tpPtoD_r_X = d.GE_tpPtoD_r_X;
  s.GE_tpPtoD_r_Y = d.GE_tpPtoD_r_Y;
  s.GE_dblAspectM = d.GE_dblAspectM;
  s.strUnitD = d.strUnitD;
  s.GE_intUnitDIndex = d.GE_intUnitDIndex;
  s.intDPointD = d.intDPointD;
  s.strUnitS = d.strUnitS;
  s.GE_intUnitSIndex = d.GE_intUnitSIndex;
  s.intDPointS = d.intDPointS;
  s.GE_sngKeisuD = d.GE_sngKeisuD;
  s.GE_sngKeisuS = d.GE_sngKeisuS;
  for (std::size_t i = 0; i < kPatterns.size(); ++i) s.strFormat[i] = kPatterns[i];
  doc.specifiedDistanceCaption = "50 " + s.strUnitD;
  s.GE_tpPiccel_1X = d.GE_tpPiccel_1X;
  s.GE_tpPiccel_1Y = d.GE_tpPiccel_1Y;
  s.GE_tpPiccel_2X = d.GE_tpPiccel_2X;
  s.GE_tpPiccel_2Y = d.GE_tpPiccel_2Y;
  s.GE_dblKeIdo = d.GE_dblKeIdo;
  s.GE_dblIdo = d.GE_dblIdo;
  s.GE_dblKeido0 = d.GE_dblKeido0;
  s.GE_dblKeido1 = d.GE_dblKeido1;
  s.GE_dblIdo0 = d.GE_dblIdo0;
  s.GE_dblIdo1 = d.GE_dblIdo1;
  s.GE_sngHojoLen = d.GE_sngHojoLen;
  doc.intPrintMethod = 0;
  s.GE_booSnap = d.GE_booSnap;
  s.GE_booPrtCmt = d.GE_booPrtCmt;

  TextNumbering& n = doc.numbering;
  n.textNumber = UBound(doc.objects.lblMoji);
  n.positionNumber = UBound(doc.objects.lblKeiIdoS);
  n.textPrefix = "New ";
  n.textSuffix.clear();
  n.positionPrefix.clear();
  n.positionSuffix.clear();
}

}  // namespace planimo
