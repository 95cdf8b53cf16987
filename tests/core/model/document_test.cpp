#include "model/document.h"

#include <gtest/gtest.h>

namespace planimo {
namespace {

// A project in which every value with a default has been changed.
Document ChangedDocument() {
  Document doc;
  ProjectState& s = doc.state;
  s.GE_booModeDis = false;
  s.GE_booModeKei = true;
  s.GE_sngHojoLen = 3;
  s.GE_booSnap = false;
  s.GE_booPrtCmt = true;
  s.GE_intUnitDIndex = 5;
  s.GE_intUnitSIndex = 6;
  s.GE_sngKeisuD = 2;
  s.GE_sngKeisuS = 3;
  s.strUnitD = "km ";
  s.strUnitS = "ha ";
  s.intDPointD = 4;
  s.intDPointS = 0;
  s.strFormat = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
  s.GE_sngHosei = {1, 2, 3, 4};
  s.GE_dblHosei = {45, -45, 0.785, -0.785};
  s.GE_tpPiccelD = {SinglePoint{1, 1}, SinglePoint{2, 2}, SinglePoint{3, 3}, SinglePoint{4, 4}};
  s.GE_sngPiccelD_X = s.GE_sngPiccelD_Y = 7;
  s.GE_sngDistanceD_X = s.GE_sngDistanceD_Y = 8;
  s.GE_tpPtoD_r_X = s.GE_tpPtoD_r_Y = s.GE_dblAspectM = 9;
  s.GE_tpPiccel_1X = s.GE_tpPiccel_1Y = s.GE_tpPiccel_2X = s.GE_tpPiccel_2Y = 11;
  s.GE_dblKeIdo[1] = {135, 30, 15.5f};
  s.GE_dblIdo[0] = {35, 10, 1};
  s.GE_dblKeido0 = s.GE_dblKeido1 = s.GE_dblIdo0 = s.GE_dblIdo1 = 12;
  s.GE_tpPtoK_r_X = s.GE_tpKtoP_r_Y = s.GE_tpPx00ToKei_Ll = s.GE_tpKI00ToPx_Y = 13;
  s.fMei_MapImage = "map.jpg";
  doc.view.sngZoom = doc.view.sngZoomPrev = 2;
  doc.intPrintMethod = 2;
  doc.numbering = {7, 8, "P", "S", "Q", "R"};
  return doc;
}

TEST(ResetProjectDefaults, PutsEveryDefaultBack) {
  Document doc = ChangedDocument();
  ResetProjectDefaults(doc);
  const ProjectState& s = doc.state;
  EXPECT_TRUE(s.GE_booModeDis);
  EXPECT_FALSE(s.GE_booModeKei);
  EXPECT_EQ(s.GE_sngHojoLen, 15.0f);
  EXPECT_TRUE(s.GE_booSnap);
  EXPECT_FALSE(s.GE_booPrtCmt);
  EXPECT_EQ(s.GE_intUnitDIndex, 2);
  EXPECT_EQ(s.GE_intUnitSIndex, 2);
  EXPECT_EQ(s.GE_sngKeisuD, 1.0f);
  EXPECT_EQ(s.GE_sngKeisuS, 1.0f);
  EXPECT_EQ(s.strUnitD, "m ");
  EXPECT_EQ(s.strUnitS, "m2 ");
  EXPECT_EQ(s.intDPointD, 2);
  EXPECT_EQ(s.intDPointS, 2);
  const std::array<std::string, 9> formats = {" #,###,##0 ", " ###,##0.0 ", " ##,##0.00 ",
                                              " #,##0.000 ",  " ##0.0000 ",  " #0.00000 ",
                                              " 0.000000 ",   "h",           "i"};
  EXPECT_EQ(s.strFormat, formats);  // entries 7 and 8 are not the reset's
  EXPECT_EQ(s.GE_sngHosei, (std::array<float, 4>{10, 10, 100, 10}));
  EXPECT_EQ(s.GE_tpPiccelD[0].sngX, 50);
  EXPECT_EQ(s.GE_tpPiccelD[1].sngX, 150);
  EXPECT_EQ(s.GE_tpPiccelD[3].sngY, 105);
  EXPECT_EQ(s.GE_sngPiccelD_X, 100);
  EXPECT_EQ(s.GE_sngPiccelD_Y, 100);
  EXPECT_EQ(s.GE_sngDistanceD_X, 100);
  EXPECT_EQ(s.GE_sngDistanceD_Y, 100);
  EXPECT_EQ(s.GE_tpPtoD_r_X, 1.0);
  EXPECT_EQ(s.GE_tpPtoD_r_Y, 1.0);
  EXPECT_EQ(s.GE_dblAspectM, 1.0);
  EXPECT_EQ(s.GE_tpPiccel_1X, 10);
  EXPECT_EQ(s.GE_tpPiccel_1Y, 10);
  EXPECT_EQ(s.GE_tpPiccel_2X, 100);
  EXPECT_EQ(s.GE_tpPiccel_2Y, 10);
  for (int n = 0; n < 2; ++n) {
    EXPECT_EQ(s.GE_dblKeIdo[n].intDeg, 0);
    EXPECT_EQ(s.GE_dblKeIdo[n].intMin, 0);
    EXPECT_EQ(s.GE_dblKeIdo[n].sngSec, 0);
    EXPECT_EQ(s.GE_dblIdo[n].intDeg, 0);
    EXPECT_EQ(s.GE_dblIdo[n].intMin, 0);
  }
  EXPECT_EQ(s.GE_dblKeido0, 0);
  EXPECT_EQ(s.GE_dblKeido1, 0);
  EXPECT_EQ(s.GE_dblIdo0, 0);
  EXPECT_EQ(s.GE_dblIdo1, 0);
  EXPECT_EQ(doc.view.sngZoom, 1.0f);
  EXPECT_EQ(doc.view.sngZoomPrev, 1.0f);
  EXPECT_EQ(doc.intPrintMethod, 0);
}

TEST(ResetProjectDefaults, LeavesTiltAnglesDerivedLatLongAndImageAlone) {
  Document doc = ChangedDocument();
  ResetProjectDefaults(doc);
  const ProjectState& s = doc.state;
  EXPECT_EQ(s.GE_dblHosei, (std::array<double, 4>{45, -45, 0.785, -0.785}));
  EXPECT_EQ(s.GE_tpPtoK_r_X, 13);
  EXPECT_EQ(s.GE_tpKtoP_r_Y, 13);
  EXPECT_EQ(s.GE_tpPx00ToKei_Ll, 13);
  EXPECT_EQ(s.GE_tpKI00ToPx_Y, 13);
  EXPECT_EQ(s.fMei_MapImage, "map.jpg");
}

TEST(ResetProjectDefaults, MenuCaptionAndCheckLineFollowTheResetValues) {
  Document doc = ChangedDocument();
  ResetProjectDefaults(doc);
  EXPECT_EQ(doc.specifiedDistanceCaption, "50 m ");
  const LineRecord& line = doc.live.lineCheck;
  EXPECT_EQ(line.X1, 10);
  EXPECT_EQ(line.Y1, 10);
  EXPECT_EQ(line.X2, 100);
  EXPECT_EQ(line.Y2, 10);
  const ShapeRecord& m1 = doc.live.shpCheck[1];
  EXPECT_FLOAT_EQ(m1.Left + m1.Width / 2, 100);
  EXPECT_FLOAT_EQ(m1.Top + m1.Height / 2, 10);
}

TEST(ResetProjectDefaults, NumberingStartsFromTheHighestTextAndPositionIndex) {
  Document doc = ChangedDocument();
  doc.objects.lblMoji.resize(4);
  doc.objects.lblKeiIdoS.resize(7);
  ResetProjectDefaults(doc);
  EXPECT_EQ(doc.numbering.textNumber, 3);
  EXPECT_EQ(doc.numbering.positionNumber, 6);
  EXPECT_EQ(doc.numbering.textPrefix, "New ");
  EXPECT_TRUE(doc.numbering.textSuffix.empty());
  EXPECT_TRUE(doc.numbering.positionPrefix.empty());
  EXPECT_TRUE(doc.numbering.positionSuffix.empty());
}

}  // namespace
}  // namespace planimo

namespace planimo {
namespace {

TEST(PlaceDefaultSample, LabelAtTopLeftAndLineUnderItsTopAcrossItsWidth) {
  Document doc;
  PlaceDefaultSample(doc);
  const TextRecord& label = doc.live.lblDefault;
  const LineRecord& line = doc.live.linDefault;
  EXPECT_EQ(label.Caption, "デフォルト ");
  EXPECT_FLOAT_EQ(label.Left, 10.2645f);
  EXPECT_FLOAT_EQ(label.Top, 10.2645f);
  EXPECT_GT(label.Width, 0);
  EXPECT_FLOAT_EQ(line.X1, label.Left);
  EXPECT_FLOAT_EQ(line.X2, label.Left + label.Width);
  EXPECT_FLOAT_EQ(line.Y1, label.Top + 4);
  EXPECT_FLOAT_EQ(line.Y2, line.Y1);
  EXPECT_TRUE(label.Visible && line.Visible);
}

}  // namespace
}  // namespace planimo
