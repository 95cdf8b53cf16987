#include "geometry/options_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "geometry/units.h"

namespace planimo {
namespace {

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.settings.units = BuiltinUnitTables();
    LoadOptionsForm(doc, form);
  }
  Document doc;
  OptionsForm form;
};

TEST_F(OptionsDialogTest, LoadShowsTheProjectAndChoosesTheUnits) {
  EXPECT_EQ(form.optMOde, 0);
  EXPECT_EQ(form.txtHojoLen, "15");
  EXPECT_EQ(form.optUnitD[10], "寸 ");
  EXPECT_EQ(form.lblUnit[0], "m ");
  EXPECT_EQ(form.txtXY[0], "50");
  EXPECT_EQ(form.txtXY[3], "5");
  EXPECT_EQ(form.txtXY[9], "105");
  EXPECT_EQ(form.txtXY[5], "100");
  EXPECT_EQ(form.lblRecio[0], "1000.0");  // 100 / 100 × 1000 mm per metre
  EXPECT_EQ(form.lblRecio[2], "1.0");
  EXPECT_EQ(form.txtHosei[2], "100");
  EXPECT_EQ(form.txtKeido1[3], "0");
  EXPECT_EQ(form.lblDPointD, "2");

  doc.state.GE_intUnitDIndex = 5;
  LoadOptionsForm(doc, form);
  EXPECT_EQ(doc.state.strUnitD, "ft. ");
  EXPECT_EQ(form.lblUnit[1], "ft. ");
}

TEST_F(OptionsDialogTest, TabsFollowTheMode) {
  struct Case {
    int mode;
    std::array<bool, 4> enabled;
  };
  for (const Case& c : {Case{0, {true, false, true, false}}, Case{1, {true, true, false, true}}}) {
    ChooseMode(doc, form, c.mode);
    EXPECT_EQ(form.tabEnabled, c.enabled) << c.mode;
    EXPECT_EQ(doc.state.GE_booModeDis, c.mode == 0);
    EXPECT_EQ(doc.state.GE_booModeKei, c.mode == 1);
    for (int t = 0; t < kOptionTabCount; ++t) EXPECT_EQ(TabAvailable(doc.state, t), c.enabled[t]);
  }
  // In known-distance mode the tilt and lat/long tabs cannot be selected.
  ChooseMode(doc, form, 0);
  EXPECT_EQ(SelectOptionTab(doc, form, 1), FocusMove{});
  EXPECT_EQ(form.SSTab, 0);
  EXPECT_FALSE(doc.state.booPickHosei);
}

TEST_F(OptionsDialogTest, TabChangeSetsOnePickFlagMarksAndFocus) {
  struct Case {
    int mode, tab;
    BoxRef focus;
    const char* tip;
    bool hosei, dis, taiou, marks;
  };
  const Case cases[] = {
      {1, 1, {OptionBox::txtHosei, 0}, "傾き補正", true, false, false, true},
      {0, 2, {OptionBox::txtXY, 5}, "既知の距離入力", false, true, false, false},
      {1, 3, {OptionBox::txtKeido1, 0}, "既知の経緯度入力", false, false, true, true},
      {1, 0, {}, "", false, false, false, false},
  };
  for (const Case& c : cases) {
    ChooseMode(doc, form, c.mode);
    const FocusMove move = SelectOptionTab(doc, form, c.tab);
    EXPECT_EQ(move.focus, c.focus) << c.tab;
    EXPECT_EQ(form.mapToolTip, c.tip);
    EXPECT_EQ(doc.state.booPickHosei, c.hosei);
    EXPECT_EQ(doc.state.booPickDis, c.dis);
    EXPECT_EQ(doc.state.booPickTaiou, c.taiou);
    EXPECT_EQ(doc.live.lineCheck.Visible, c.marks);
    EXPECT_EQ(doc.live.shpCheck[1].Visible, c.marks);
    EXPECT_EQ(doc.state.intOptionTab, c.tab);
  }
  // The lat/long tab puts the check line on the correspondence points.
  ChooseMode(doc, form, 1);
  SelectOptionTab(doc, form, 3);
  EXPECT_EQ(doc.live.lineCheck.X2, doc.state.GE_tpPiccel_2X);

  CloseOptionsForm(doc, form);
  EXPECT_FALSE(doc.state.booPickTaiou);
  EXPECT_FALSE(doc.live.lineCheck.Visible);
  EXPECT_EQ(form.mapToolTip, "");
  // The tab shown last comes back when the dialog opens again.
  EXPECT_EQ(ActivateOptionsForm(doc, form).focus, (BoxRef{OptionBox::txtKeido1, 0}));
}

TEST_F(OptionsDialogTest, ScaleAndAspectTexts) {
  form.txtXY[4] = "150";
  form.txtXY[5] = "100";
  form.txtXY[10] = "100";
  form.txtXY[11] = "100";
  XYLeave(doc, form, 5);
  EXPECT_EQ(form.lblRecio[0], "666.67");
  EXPECT_EQ(form.lblRecio[1], "1000.0");
  EXPECT_EQ(form.lblRecio[2], "1.5");

  form.txtXY[10] = "0";
  subDisp_Rato(doc, form);
  EXPECT_EQ(form.lblRecio[1], "");
  EXPECT_EQ(form.lblRecio[2], "1.0");

  // Changing the unit changes only the shown scale.
  ChooseDistanceUnit(doc, form, 0);
  EXPECT_EQ(form.lblRecio[0], ".67");
  EXPECT_EQ(doc.state.GE_sngDistanceD_X, 100);
}

TEST_F(OptionsDialogTest, SetteiStoresRatiosOnlyFromPositiveLengths) {
  form.txtXY[4] = "50";
  form.txtXY[5] = "100";
  form.txtXY[10] = "25";
  form.txtXY[11] = "100";
  ApplyKnownDistance(doc, form);
  EXPECT_DOUBLE_EQ(doc.state.GE_tpPtoD_r_X, 2.0);
  EXPECT_DOUBLE_EQ(doc.state.GE_tpPtoD_r_Y, 4.0);
  EXPECT_DOUBLE_EQ(doc.state.GE_dblAspectM, 2.0);

  for (const char* bad : {"0", "-5"}) {
    form.txtXY[4] = bad;
    form.txtXY[11] = bad;
    ApplyKnownDistance(doc, form);
    EXPECT_DOUBLE_EQ(doc.state.GE_tpPtoD_r_X, 2.0) << bad;
    EXPECT_DOUBLE_EQ(doc.state.GE_tpPtoD_r_Y, 4.0) << bad;
    EXPECT_DOUBLE_EQ(doc.state.GE_dblAspectM, 2.0) << bad;
  }
  // Text that is no number, or no Single, never reaches the project.
  form.txtXY[4] = "abc";
  form.txtXY[5] = "1e300";
  ApplyKnownDistance(doc, form);
  EXPECT_EQ(doc.state.GE_sngPiccelD_X, -5);
  EXPECT_EQ(doc.state.GE_sngDistanceD_X, 100);
  EXPECT_EQ(form.txtXY[4], "-5");
  EXPECT_EQ(form.txtXY[5], "100");
}

TEST_F(OptionsDialogTest, ReferencePointsGiveTheDrawingLength) {
  form.txtXY[0] = "0";
  form.txtXY[2] = "0";
  form.txtXY[1] = "30";
  form.txtXY[3] = "40";
  XYLeave(doc, form, 3);
  EXPECT_EQ(form.txtXY[4], "50");
  EXPECT_EQ(doc.state.GE_tpPiccelD[1].sngX, 30);
  EXPECT_EQ(doc.state.GE_tpPiccelD[1].sngY, 40);
  EXPECT_EQ(doc.state.GE_sngPiccelD_X, 100);  // stored only by "設定"

  form.txtXY[7] = "x";
  EXPECT_EQ(XYEnter(form, 7), FocusMove{});
  XYLeave(doc, form, 7);
  EXPECT_EQ(form.txtXY[7], "0");
  EXPECT_EQ(XYEnter(form, 11).focus, (BoxRef{OptionBox::txtXY, 0}));
}

TEST_F(OptionsDialogTest, TiltInputRecomputesTheCorrection) {
  ChooseMode(doc, form, 1);
  SelectOptionTab(doc, form, 1);
  // Each box is taken as it is left; the eight boxes then show the project.
  for (const auto& [i, text] : {std::pair{0, "0"}, std::pair{1, "0"}, std::pair{3, "10"}}) {
    form.txtHosei[i] = text;
    ASSERT_TRUE(HoseiLeave(doc, form, i));
  }
  EXPECT_NEAR(doc.state.GE_dblHosei[0], 5.7105931, 1e-6);  // (2) still 100
  form.txtHosei[2] = "10";
  ASSERT_TRUE(HoseiLeave(doc, form, 2));
  EXPECT_NEAR(doc.state.GE_dblHosei[0], 45, 1e-9);
  EXPECT_NEAR(doc.state.GE_dblHosei[1], -45, 1e-9);
  EXPECT_NEAR(std::stod(form.txtHosei[4]), 45, 1e-9);
  EXPECT_NEAR(std::stod(form.txtHosei[7]), -3.14159265358979 / 4, 1e-12);
  EXPECT_EQ(doc.live.lineCheck.X2, 10);

  form.txtHosei[2] = "ten";
  EXPECT_EQ(HoseiEnter(form, 2), FocusMove{});
  EXPECT_FALSE(HoseiLeave(doc, form, 2));
  EXPECT_EQ(form.txtHosei[2], "10");
  EXPECT_EQ(HoseiEnter(form, 3).focus, (BoxRef{OptionBox::txtHosei, 0}));
}

TEST_F(OptionsDialogTest, NonNumericTextIsRestored) {
  form.txtHojoLen = "long";
  EXPECT_EQ(HojoLenEnter(doc, form), FocusMove{});
  HojoLenLeave(doc, form);
  EXPECT_EQ(form.txtHojoLen, "15");
  form.txtHojoLen = "7.5";
  EXPECT_EQ(HojoLenEnter(doc, form).focus, (BoxRef{OptionBox::chkSnap, 0}));
  EXPECT_EQ(doc.state.GE_sngHojoLen, 7.5f);

  form.txtPict_mm2[1] = "--";
  EXPECT_FALSE(PictMmLeave(doc, form, 1, 1));
  EXPECT_EQ(form.txtPict_mm2[1], "10");
  form.txtPict_mm2[1] = "12.25";
  EXPECT_TRUE(PictMmLeave(doc, form, 1, 1));
  EXPECT_EQ(doc.state.GE_tpPiccel_2Y, 12.25f);
  EXPECT_EQ(PictMmEnter(form, 0, 1).focus, (BoxRef{OptionBox::txtPict_mm2, 0}));

  form.txtIdo2[2] = "?";
  DmsLeave(form, 3, 2);
  EXPECT_EQ(form.txtIdo2[2], "0");
}

TEST_F(OptionsDialogTest, DmsEntryChain) {
  form.txtKeido1[0] = "135";
  EXPECT_EQ(DmsEnter(form, 0, 0).focus, (BoxRef{OptionBox::txtKeido1, 1}));
  form.txtKeido1[1] = "30";
  EXPECT_EQ(DmsEnter(form, 0, 1).focus, (BoxRef{OptionBox::txtKeido1, 2}));
  form.txtKeido1[2] = "15.5";
  EXPECT_EQ(DmsEnter(form, 0, 2).focus, (BoxRef{OptionBox::txtIdo1, 0}));
  EXPECT_EQ(form.txtKeido1[3], "487815.5");

  // A total typed in box 3 fills the pieces; the last group wraps round.
  form.txtIdo2[3] = "487815.5";
  const FocusMove move = DmsEnter(form, 3, 3);
  EXPECT_EQ(move.focus, (BoxRef{OptionBox::txtKeido1, 3}));
  EXPECT_EQ(form.txtIdo2[0], "135");
  EXPECT_EQ(form.txtIdo2[1], "30");
  EXPECT_EQ(form.txtIdo2[2], "15.5");

  // Round totals and true lengths read as plain numbers, not "1e+05".
  form.txtIdo1[0] = "27";
  form.txtIdo1[1] = "46";
  form.txtIdo1[2] = "40";
  DmsEnter(form, 1, 2);
  EXPECT_EQ(form.txtIdo1[3], "100000");
  doc.state.GE_sngDistanceD_X = 100000;
  LoadOptionsForm(doc, form);
  EXPECT_EQ(form.txtXY[5], "100000");
}

TEST_F(OptionsDialogTest, OutOfRangeDmsKeepsTheFocusWithTheTextSelected) {
  struct Case {
    int box;
    const char* text;
  };
  for (const Case& c : {Case{1, "60"}, Case{2, "60"}, Case{0, "360"}, Case{0, "-1"}, Case{3, "-0.5"}}) {
    form.txtIdo1 = {"35", "10", "5", "126605"};
    form.txtIdo1[c.box] = c.text;
    const FocusMove move = DmsEnter(form, 1, c.box);
    EXPECT_EQ(move.focus, (BoxRef{OptionBox::txtIdo1, c.box})) << c.box << " " << c.text;
    EXPECT_TRUE(move.selectText);
    EXPECT_EQ(form.txtIdo1[3], c.box == 3 ? c.text : "126605");
  }
  form.txtIdo1 = {"0", "0", "0", "0"};
  EXPECT_EQ(DmsEnter(form, 1, 0), FocusMove{});  // valid, but no position yet
}

TEST_F(OptionsDialogTest, CnvStoresPositionsAndRefusesADegenerateCalibration) {
  ChooseMode(doc, form, 1);
  form.txtKeido1 = {"135", "30", "15.5", "999"};  // the pieces win over the total
  form.txtIdo1 = {"35", "0", "0", "0"};
  form.txtKeido2 = {"135", "31", "0", "0"};
  form.txtIdo2 = {"35", "0", "0", "0"};  // same latitude: refused
  EXPECT_FALSE(ApplyLatLong(doc, form));
  EXPECT_EQ(form.txtKeido1[3], "487815.5");
  EXPECT_DOUBLE_EQ(doc.state.GE_dblKeido0, 487815.5);
  EXPECT_EQ(doc.state.GE_dblKeIdo[0].intMin, 30);
  EXPECT_EQ(doc.state.GE_tpPtoK_r_X, 0);
  EXPECT_EQ(form.lblPara[0], "0");

  form.txtIdo2 = {"34", "59", "0", "0"};
  form.txtPict_mm2 = {"100", "70"};
  EXPECT_TRUE(ApplyLatLong(doc, form));
  EXPECT_EQ(doc.state.GE_tpPiccel_2Y, 70);
  EXPECT_TRUE(std::isfinite(doc.state.GE_tpPtoK_r_X));
  EXPECT_NE(form.lblPara[0], "0");
  EXPECT_EQ(form.lblPara[1], "-1");  // 60 arc-seconds south over 60 mm down
}

TEST_F(OptionsDialogTest, MapPicksRefreshTheBoxes) {
  ReportDistancePick(doc, form, false, 10, 20, 10, 80, 60);
  EXPECT_EQ(form.txtXY[6], "10");
  EXPECT_EQ(form.txtXY[9], "80");
  EXPECT_EQ(form.txtXY[10], "60");
  EXPECT_EQ(doc.state.GE_tpPiccelD[3].sngY, 80);

  form.txtXY[4] = "77";  // typed, not yet stored
  doc.state.GE_sngHosei[3] = 20;
  doc.state.GE_tpPiccel_1X = 3;
  RefreshFromState(doc, form);
  EXPECT_EQ(form.txtHosei[3], "20");
  EXPECT_EQ(form.txtPict_mm1[0], "3");
  EXPECT_EQ(form.txtXY[4], "77");  // its points did not move

  doc.state.GE_tpPiccelD[1] = {50, 35};
  RefreshFromState(doc, form);
  EXPECT_EQ(form.txtXY[1], "50");
  EXPECT_EQ(form.txtXY[4], "30");
}

}  // namespace
}  // namespace planimo
