#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "io/object_files.h"
#include "io/project_file.h"
#include "measure/annotations.h"
#include "measure/dispatcher.h"
#include "measure_fixture.h"

namespace planimo::test {
namespace {

TEST(Menus, ToolsSetEditPopupAndPanels) {
  MapFixture f;
  SelectTool(f.s, Tool::Leader);
  EXPECT_EQ(f.s.panel3, "引き出し線");
  EXPECT_EQ(f.s.panel4, "新規作成");
  EXPECT_FALSE(f.s.menu.popEdit.popEditRev);
  EXPECT_TRUE(f.s.menu.popEdit.popEditDpp);
  SelectTool(f.s, Tool::Position);
  EXPECT_FALSE(f.s.menu.popEdit.popEditDpp);
  EXPECT_TRUE(f.s.menu.popEdit.popEditFont);
  SelectTool(f.s, Tool::Measure);
  EXPECT_EQ(f.s.panel4, "直線の測定");
  EXPECT_TRUE(f.s.menu.popEdit.popEditUnitSquea);
}

TEST(Menus, PutMenOnlyInPathMode) {
  MapFixture f;
  TogglePutMen(f.s);
  EXPECT_FALSE(f.s.menu.popMesPutMen);
  SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
  EXPECT_TRUE(f.s.menu.popMesPutMen);
  EXPECT_EQ(f.s.panel4, "連続入力");
  TogglePutMen(f.s);
  EXPECT_FALSE(f.s.menu.popMesPutMen);
  TogglePutMen(f.s);
  EXPECT_TRUE(f.s.menu.popMesPutMen);
  SelectMode(f.doc, f.s, MeasureMode::Circle, nullptr);
  EXPECT_FALSE(f.s.menu.popMesPutMenEnabled);
  TogglePutMen(f.s);
  EXPECT_FALSE(f.s.menu.popMesPutMen);
}

TEST(Menus, ExtensionLengthAndClearAll) {
  MapFixture f;
  SetExtensionLength(f.doc, f.s, 25);
  EXPECT_EQ(f.doc.state.GE_sngHojoLen, 25);
  EXPECT_TRUE(f.s.menu.popMesHj[4]);
  EXPECT_FALSE(f.s.menu.popMesHj[2]);
  f.Measure(10, 10, 40, 10);
  EXPECT_EQ(f.doc.objects.lineHojoSave[0].Y2, -15);
  ClearMeasurementData(f.doc, f.s);
  EXPECT_EQ(f.KeptDistances(), 0);
  EXPECT_FALSE(f.doc.live.lineDistance.Visible);
  EXPECT_TRUE(f.s.menu.popMesLine);
}

TEST(Popups, RightClickOrder) {
  MapFixture f;
  f.doc.state.booPickHosei = true;
  EXPECT_EQ(f.Down(5, 5, 2).popups, (std::vector<Popup>{Popup::Mes, Popup::Hosei}));
  f.Click(10, 10);  // a measurement runs: no popMes
  EXPECT_EQ(f.Down(5, 5, 2).popups, (std::vector<Popup>{Popup::Hosei}));
}

TEST(Popups, RangeZoomStartsNoMeasurement) {
  MapFixture f;
  f.s.menu.mnuDispEnlarge = true;
  f.Click(10, 10);
  EXPECT_FALSE(f.s.flags.Running());
  EXPECT_TRUE(f.doc.live.shpZoom.Visible);
}

TEST(Pointer, CtrlSnapsToVisibleEndsOnly) {
  MapFixture f;
  std::vector<LineRecord>& h = f.doc.objects.lineHikidashi;
  h[0] = LineRecord{};
  h[0].Visible = true;
  h[0].X1 = 30;
  h[0].Y1 = 30;
  h[0].X2 = 60;
  h[0].Y2 = 30;
  AppendSpare(h);
  h[1].X1 = 100;  // the spare never catches
  h[1].Y1 = 100;
  f.Down(31.5f, 28.5f, 1, false, true);
  EXPECT_EQ(f.doc.live.lineDistance.X1, 30);
  EXPECT_EQ(f.doc.live.lineDistance.Y1, 30);
  EXPECT_TRUE(f.doc.live.shpSnap.Visible);
  f.Move(100.5f, 100.5f, false, 0, true);
  EXPECT_EQ(f.doc.live.lineDistance.X2, 100.5f);
  EXPECT_FALSE(f.doc.live.shpSnap.Visible);
  // Space pulls the pointer level with an end and draws the guide.
  f.Move(80, 31, false, 0, false, true);
  EXPECT_EQ(f.doc.live.lineDistance.Y2, 30);
  EXPECT_TRUE(f.doc.live.lineHintX.Visible);
  f.Move(80, 40);
  EXPECT_FALSE(f.doc.live.lineHintX.Visible);
  // Plumb with the second end (and level with neither): x is pulled, the
  // vertical guide runs from that end down to the pointer.
  f.Move(61.5f, 70, false, 0, false, true);
  EXPECT_EQ(f.doc.live.lineDistance.X2, 60);
  EXPECT_EQ(f.doc.live.lineDistance.Y2, 70);
  EXPECT_FALSE(f.doc.live.lineHintX.Visible);
  const LineRecord& guide = f.doc.live.lineHintY;
  EXPECT_TRUE(guide.Visible);
  EXPECT_EQ(guide.X1, 60);
  EXPECT_EQ(guide.Y1, 30);
  EXPECT_EQ(guide.X2, 60);
  EXPECT_EQ(guide.Y2, 70);
}

TEST(Calibration, TiltRightPointWinsAndCorrectionFollows) {
  MapFixture f;
  f.doc.state.booPickHosei = true;
  f.doc.state.GE_sngHosei = {10, 10, 18, 10};
  const MouseResult down = f.Down(14, 12);
  EXPECT_TRUE(f.s.menu.popHoseiR);
  EXPECT_FALSE(f.s.menu.popHoseiL);
  EXPECT_TRUE(down.picks.tiltPointsMoved);
  f.Move(20, 20, false, 1);
  EXPECT_EQ(f.doc.state.GE_sngHosei[2], 20);
  const MouseResult up = f.Up(20, 20);
  EXPECT_TRUE(up.picks.tiltCorrectionChanged);
  EXPECT_FALSE(f.s.menu.popHoseiR);
  EXPECT_NEAR(f.doc.state.GE_dblHosei[0], 45, 1e-9);
  EXPECT_EQ(f.doc.live.lineCheck.X2, 20);
  // Without the pick flag nothing moves.
  f.doc.state.booPickHosei = false;
  ChooseHoseiPoint(f.s, 0);
  f.Down(50, 50);
  EXPECT_EQ(f.doc.state.GE_sngHosei[0], 10);
}

TEST(Calibration, CorrespondencePointTwoWins) {
  MapFixture f;
  SelectMode(f.doc, f.s, MeasureMode::Select, nullptr);
  f.doc.state.booPickTaiou = true;
  f.doc.state.GE_tpPiccel_1X = 10;
  f.doc.state.GE_tpPiccel_2X = 20;
  f.Down(15, 10);
  EXPECT_TRUE(f.s.menu.popTaiou2);
  EXPECT_EQ(f.doc.state.GE_tpPiccel_2X, 15);
  EXPECT_EQ(f.doc.state.GE_tpPiccel_1X, 10);
  f.Up(15, 10);
  EXPECT_FALSE(f.s.menu.popTaiou2);
}

TEST(Calibration, KnownDistanceLineReportsDrawingMillimetres) {
  MapFixture f;
  SelectMode(f.doc, f.s, MeasureMode::Select, nullptr);
  f.doc.state.booPickDis = true;
  f.doc.state.GE_tpPtoD_r_X = 7;  // the picking line ignores the project's units
  f.doc.view.sngZoom = 2;
  const MouseResult down = f.Down(10, 10);
  ASSERT_TRUE(down.picks.knownDistance);
  EXPECT_EQ(down.picks.knownDistance->length, 0);
  EXPECT_EQ(f.doc.live.lblDistance.Caption, "0.00 mm");
  f.Up(10, 10);
  const MouseResult move = f.Move(70, 90);
  ASSERT_TRUE(move.picks.knownDistance);
  EXPECT_EQ(move.picks.knownDistance->pair, 0);
  EXPECT_EQ(move.picks.knownDistance->length, 50);
  EXPECT_EQ(f.doc.live.lblDistance.Caption, "50.00 mm");
  const MouseResult up = f.Down(70, 90);
  (void)up;
  const MouseResult fin = f.Up(70, 90);
  EXPECT_TRUE(fin.picks.ratioDisplay);
  EXPECT_EQ(f.doc.state.GE_sngHosei[2], 70);
  EXPECT_FALSE(f.s.flags.booKnownDisRun);
  EXPECT_TRUE(f.doc.live.lineCheck.Visible);

  // A line still following the pointer when the dialog stops asking (another
  // tab) goes with the next pointer event and sets nothing.
  f.Down(20, 20);
  f.Up(20, 20);
  f.Move(90, 40);
  ASSERT_TRUE(f.s.flags.booKnownDisRun);
  f.doc.state.booPickDis = false;
  EXPECT_FALSE(f.Move(95, 45).picks.knownDistance);
  EXPECT_FALSE(f.s.flags.booKnownDisRun);
  EXPECT_FALSE(f.doc.live.lineDistance.Visible);
  f.Down(95, 45);
  EXPECT_FALSE(f.Up(95, 45).picks.ratioDisplay);
  EXPECT_EQ(f.doc.state.GE_sngHosei[2], 70);
}

TEST(Faults, UncomputableValueAbandonsTheEvent) {
  MapFixture f;
  ScriptedAsker asker;
  asker.answer = "50";
  SelectMode(f.doc, f.s, MeasureMode::Specified, &asker);
  f.doc.state.GE_tpPtoD_r_X = 0;  // the way back divides by the ratio
  f.Click(10, 10);
  const LineRecord before = f.doc.live.lineDistance;
  const MouseResult r = f.Move(40, 20);
  EXPECT_TRUE(r.abandoned);
  EXPECT_EQ(f.doc.live.lineDistance, before);
  EXPECT_FALSE(f.s.flags.booMesMovedDis);
}

TEST(Faults, NonFiniteLengthIsNeverWritten) {
  MapFixture f;
  f.Click(10, 10);
  f.Move(20, 10);
  const std::string caption = f.doc.live.lblDistance.Caption;
  f.doc.state.GE_tpPtoD_r_X = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(f.Move(30, 10).abandoned);
  EXPECT_EQ(f.doc.live.lblDistance.Caption, caption);
  // The release keeps the dimension as last computed, never the broken one.
  f.Up(30, 10);
  ASSERT_EQ(f.KeptDistances(), 1);
  EXPECT_EQ(f.doc.objects.lblKyori[0].Caption, caption);
  EXPECT_EQ(f.doc.objects.lineDsSave[0].X2, 20);
}

// Whatever the pointer reports, the files a save writes hold only numbers:
// an event at a position that is no number, or one whose values overflow,
// is abandoned by every tool and every pick.
TEST(Faults, NoToolKeepsAValueThatIsNotANumber) {
  const auto notNumber = [](const std::string& text) {
    std::vector<std::string> bad;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      const std::string line = text.substr(start, end - start);
      const std::string value = line.substr(line.find('=') == std::string::npos ? 0 : line.find('=') + 1);
      if (value == "nan" || value == "inf" || value == "-inf") bad.push_back(line);
    }
    return bad;
  };
  const std::vector<std::pair<const char*, std::function<void(MapFixture&, ScriptedAsker&)>>> setups = {
      {"line", [](MapFixture&, ScriptedAsker&) {}},
      {"circle", [](MapFixture& f, ScriptedAsker&) { SelectMode(f.doc, f.s, MeasureMode::Circle, nullptr); }},
      {"path", [](MapFixture& f, ScriptedAsker&) { SelectMode(f.doc, f.s, MeasureMode::Path, nullptr); }},
      {"specified", [](MapFixture& f, ScriptedAsker& a) { SelectMode(f.doc, f.s, MeasureMode::Specified, &a); }},
      {"specified past the range",
       [](MapFixture& f, ScriptedAsker& a) {
         a.answer = "1e300";
         SelectMode(f.doc, f.s, MeasureMode::Specified, &a);
       }},
      {"leader", [](MapFixture& f, ScriptedAsker&) { SelectTool(f.s, Tool::Leader); }},
      {"leader drag",
       [](MapFixture& f, ScriptedAsker&) {
         f.doc.objects.lineHikidashi.back() = {true, "", 0, 10, 40, 10, 0, 1, 1, 13};
         AppendSpare(f.doc.objects.lineHikidashi);
         SelectTool(f.s, Tool::Leader);
         ChooseLeaderCreate(f.s, false);
       }},
      {"text", [](MapFixture& f, ScriptedAsker&) { SelectTool(f.s, Tool::Comment); }},
      {"position", [](MapFixture& f, ScriptedAsker&) { SelectTool(f.s, Tool::Position); }},
      {"tilt pick", [](MapFixture& f, ScriptedAsker&) { f.doc.state.booPickHosei = true; }},
      {"known distance pick", [](MapFixture& f, ScriptedAsker&) { f.doc.state.booPickDis = true; }},
      {"correspondence pick", [](MapFixture& f, ScriptedAsker&) {
         SelectMode(f.doc, f.s, MeasureMode::Select, nullptr);
         f.doc.state.booPickTaiou = true;
       }},
  };
  const float flt = std::numeric_limits<float>::max();
  for (const auto& [name, setup] : setups) {
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -flt, flt}) {
      MapFixture f;
      ScriptedAsker asker;
      asker.answer = "50";
      CoreAnnotationTools tools;
      setup(f, asker);
      const auto play = [&](int phase, float x, float y, int button) {
        const MouseEvent ev{button, x, y, false, false, false};
        if (phase == 0) OnMapMouseDown(f.doc, f.s, ev, &tools);
        if (phase == 1) OnMapMouseMove(f.doc, f.s, ev, &tools);
        if (phase == 2) OnMapMouseUp(f.doc, f.s, ev, &tools);
      };
      // From a good point to a bad one and back, with the button up and down.
      play(0, 10, 10, 1), play(1, bad, 10, 1), play(1, -bad, 10, 1), play(1, 10, bad, 0), play(2, bad, bad, 1);
      play(0, bad, 10, 1), play(1, 30, 10, 1), play(2, 30, 10, 1), play(1, 10, bad, 0);
      play(0, 30, bad, 1), play(2, 30, bad, 1), play(1, 50, 50, 0), play(0, 50, 50, 1), play(2, 50, 50, 1);
      CommandCloseArea(f.doc, f.s);
      IniDocument ini;
      PutProjectValues(ini, f.doc.state, {"a", "b", "c"});
      for (const std::string& text : {FormatTextFile(f.doc.objects), FormatLineFile(f.doc.objects),
                                      FormatShapeFile(f.doc.objects), FormatIni(ini)}) {
        EXPECT_EQ(notNumber(text), std::vector<std::string>{}) << name << " at " << bad;
      }
    }
  }
}

// Two extension lines per distance fill lineHojoSave first: 16,383 kept
// distances leave its spare at index 32,766, and the next one has no room.
TEST(Faults, FullCollectionRefusesTheCommit) {
  MapFixture f;
  constexpr int kDistances = (kMaxIndex - 1) / 2;
  for (int i = 0; i < kDistances; ++i) f.Measure(10, 10, 40, 10);
  const Collections& o = f.doc.objects;
  ASSERT_EQ(f.KeptDistances(), kDistances);
  ASSERT_EQ(UBound(o.lineHojoSave), kMaxIndex - 1);
  f.Click(10, 20);
  f.Move(40, 20);
  f.Down(40, 20);
  EXPECT_TRUE(f.Up(40, 20).abandoned);
  EXPECT_EQ(f.KeptDistances(), kDistances);
  EXPECT_EQ(UBound(o.lineHojoSave), kMaxIndex - 1);
  EXPECT_EQ(UBound(o.shpSnpo), kMaxIndex - 1);
  EXPECT_FALSE(o.lineHojoSave.back().Visible);  // still its spare
  EXPECT_FALSE(o.lblKyori.back().Visible);
  EXPECT_TRUE(f.s.flags.booMesRunDis);  // the measurement goes on
}

TEST(Readout, PositionTextsAtHalfZoom) {
  MapFixture f;
  f.doc.view.sngZoom = 0.5f;
  f.Move(12.5f, 30);
  EXPECT_EQ(f.s.readout.txtPict[1], "X:12.5000");
  EXPECT_EQ(f.s.readout.txtPict[2], "Y:30.0000");
  EXPECT_EQ(f.s.readout.positionTag, "25,60");
  EXPECT_EQ(f.s.readout.positionToolTip, "X:12.5000,Y:30.0000");
}

TEST(Readout, LatLongPosition) {
  MapFixture f;
  f.doc.state.GE_booModeDis = false;
  f.doc.state.GE_booModeKei = true;
  f.doc.state.GE_tpPtoK_r_X = 1;
  f.doc.state.GE_tpPtoK_r_Y = 1;
  f.doc.state.GE_tpPx00ToKei_Ll = 487815.5;
  f.doc.state.GE_tpPx00ToKei_La = 126000;
  f.Move(0, 0);
  EXPECT_EQ(f.s.readout.txtPict[0], "135-30-15.5000 E  035-00-00.0000 N ");
}

}  // namespace
}  // namespace planimo::test
