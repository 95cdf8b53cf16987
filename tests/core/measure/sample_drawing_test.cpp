// Calibrating and measuring the sample site plan (samples/site_plan.jpg) as a
// user does: the references are picked or typed in the options rules, then
// every measurement is played as mouse gestures on the map and checked
// against the values printed on the drawing.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "geometry/options_dialog.h"
#include "measure/abandon.h"
#include "measure/dispatcher.h"
#include "measure_fixture.h"
#include "model/rescale.h"
#include "model/value_tag.h"

namespace planimo::test {
namespace {

// One pixel of the scanned drawing is 0.2645 view millimetres at 100 %.
float Mm(int px, float zoom = 1.0f) { return static_cast<float>(px) * 0.2645f * zoom; }

std::string Typed(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

struct Px {
  int x, y;
};

// Every collection holding kept objects ends with exactly one hidden spare.
template <class R>
void ExpectSpareHidden(const std::vector<R>& c, int ubound, const char* name) {
  ASSERT_EQ(UBound(c), ubound) << name;
  EXPECT_FALSE(c.back().Visible) << name;
  for (int i = 0; i < ubound; ++i) EXPECT_TRUE(c[static_cast<std::size_t>(i)].Visible) << name << " " << i;
}

void ExpectDistanceObjects(const Collections& o, int n) {
  ExpectSpareHidden(o.lblKyori, n, "lblKyori");
  ExpectSpareHidden(o.lineDsSave, n, "lineDsSave");
  ExpectSpareHidden(o.lineHojoSave, 2 * n, "lineHojoSave");
  ExpectSpareHidden(o.shpSnpo, 2 * n, "shpSnpo");
}

struct SiteFixture : MapFixture {
  float zoom = 1.0f;

  void MeasurePx(Px a, Px b) { Measure(Mm(a.x, zoom), Mm(a.y, zoom), Mm(b.x, zoom), Mm(b.y, zoom)); }

  // Clicks the vertices of a continuous path; a last point equal to the
  // first closes it by the vertex snap.
  void PathPx(const std::vector<Px>& pts) {
    Click(Mm(pts[0].x, zoom), Mm(pts[0].y, zoom));
    for (std::size_t i = 1; i < pts.size(); ++i) {
      const float x = Mm(pts[i].x, zoom), y = Mm(pts[i].y, zoom);
      Move(x, y);
      Click(x, y);
      if (i + 1 < pts.size()) Click(x, y);
    }
  }

  // Known distance typed into the "既知の距離設定" tab: the scale bar
  // 0 - 20 m as horizontal reference, boundary No.5 - No.1 (30 m) as
  // vertical one, then "設定".
  void CalibrateByTyping() {
    LoadOptionsForm(doc, form);
    SelectOptionTab(doc, form, 2);
    const std::pair<int, double> boxes[] = {
        {0, Mm(240)}, {2, Mm(1730)}, {1, Mm(1040)}, {3, Mm(1730)}, {5, 20},
        {6, Mm(240)}, {8, Mm(280)},  {7, Mm(240)},  {9, Mm(1480)}, {11, 30}};
    for (const auto& [i, v] : boxes) {
      form.txtXY[static_cast<std::size_t>(i)] = Typed(v);
      XYLeave(doc, form, i);
    }
    ApplyKnownDistance(doc, form);
    CloseOptionsForm(doc, form);
  }

  OptionsForm form;
};

const std::vector<Px> kBoundary = {{240, 1480}, {1800, 1480}, {1800, 640}, {1320, 280}, {240, 280}};

TEST(SampleDrawing, KnownDistanceTypedGivesTheDrawingScale) {
  SiteFixture f;
  f.CalibrateByTyping();
  EXPECT_NEAR(std::stod(f.form.txtXY[4]), 211.6, 1e-4);
  EXPECT_NEAR(std::stod(f.form.txtXY[10]), 317.4, 1e-4);
  // 20 m over 211.6 mm is a scale of 1 : 94.5 in either direction.
  EXPECT_EQ(f.form.lblRecio[0], "94.52");
  EXPECT_EQ(f.form.lblRecio[1], "94.52");
  EXPECT_EQ(f.form.lblRecio[2], "1.0");
  EXPECT_NEAR(f.doc.state.GE_tpPtoD_r_X, 20 / 211.6, 1e-7);
  EXPECT_NEAR(f.doc.state.GE_tpPtoD_r_Y, 30 / 317.4, 1e-7);
  EXPECT_NEAR(f.doc.state.GE_dblAspectM, 1.0, 1e-6);
  EXPECT_FALSE(f.doc.state.booPickDis);
}

// The references picked on the map with the picking line give the same
// calibration as typing them.
TEST(SampleDrawing, KnownDistancePickedOnTheMap) {
  SiteFixture f;
  // "ｵﾌﾟｼｮﾝ" clears the tool marks: the clicks only pick, they measure nothing.
  f.s.menu.mnuToolMes = false;
  LoadOptionsForm(f.doc, f.form);
  SelectOptionTab(f.doc, f.form, 2);
  ASSERT_TRUE(f.doc.state.booPickDis);
  // The right button offers the reference pair, not the measurement popup.
  EXPECT_EQ(f.Down(Mm(240), Mm(1730), 2).popups, std::vector<Popup>{Popup::Dis});
  f.Up(Mm(240), Mm(1730), 2);
  auto pick = [&](Px a, Px b) {
    f.Click(Mm(a.x), Mm(a.y));
    const MouseResult moved = f.Move(Mm(b.x), Mm(b.y));
    ASSERT_TRUE(moved.picks.knownDistance);
    const KnownDistanceReport& k = *moved.picks.knownDistance;
    ReportDistancePick(f.doc, f.form, k.pair == 0, k.x1, k.y1, k.x2, k.y2, k.length);
    f.Click(Mm(b.x), Mm(b.y));
  };
  pick({240, 1730}, {1040, 1730});
  EXPECT_EQ(f.doc.live.lblDistance.Caption, "211.60 mm");
  ChooseDisPair(f.s, 1);
  pick({240, 280}, {240, 1480});
  EXPECT_EQ(f.doc.live.lblDistance.Caption, "317.40 mm");
  f.form.txtXY[5] = "20";
  XYLeave(f.doc, f.form, 5);
  f.form.txtXY[11] = "30";
  XYLeave(f.doc, f.form, 11);
  ApplyKnownDistance(f.doc, f.form);
  EXPECT_NEAR(f.doc.state.GE_tpPtoD_r_X, 20 / 211.6, 1e-7);
  EXPECT_NEAR(f.doc.state.GE_tpPtoD_r_Y, 30 / 317.4, 1e-7);
  // The horizontal reference also set the tilt points; it is level.
  EXPECT_NEAR(f.doc.state.GE_dblHosei[3], 0, 1e-9);
  // Picking measured nothing.
  EXPECT_EQ(f.KeptDistances(), 0);

  CloseOptionsForm(f.doc, f.form);
  SelectTool(f.s, Tool::Measure);
  f.MeasurePx({520, 680}, {1120, 680});
  ASSERT_EQ(f.KeptDistances(), 1);
  EXPECT_EQ(f.doc.objects.lblKyori[0].Caption, " 15.00 m ");
}

struct LineCase {
  const char* what;
  Px a, b;
  const char* caption;
  double value;
};

class SampleLines : public ::testing::TestWithParam<LineCase> {};

// Straight lines at 100 % and, after the zoom, at 50 %: the same values.
TEST_P(SampleLines, ValueAtFullAndHalfZoom) {
  const LineCase& c = GetParam();
  SiteFixture f;
  f.CalibrateByTyping();
  f.MeasurePx(c.a, c.b);
  const Collections& o = f.doc.objects;
  ExpectDistanceObjects(o, 1);
  EXPECT_EQ(o.lblKyori[0].Caption, c.caption);
  EXPECT_NEAR(TagValue(o.lblKyori[0]), c.value, 5e-5);
  const std::optional<ValueTag> tag = ParseValueTag(o.lblKyori[0].Tag);
  ASSERT_TRUE(tag);
  EXPECT_EQ(tag->unit, 2);
  EXPECT_EQ(tag->decimals, 2);
  const LineRecord kept = o.lineDsSave[0];

  f.doc.view.sngZoom = 0.5f;
  ASSERT_TRUE(subDisp_Object(f.doc));
  ResetDisplayMenu(f.doc, f.s);
  // The kept dimension line follows the zoom.
  EXPECT_FLOAT_EQ(o.lineDsSave[0].X1, kept.X1 / 2);
  EXPECT_FLOAT_EQ(o.lineDsSave[0].Y2, kept.Y2 / 2);
  f.zoom = 0.5f;
  f.MeasurePx(c.a, c.b);
  ExpectDistanceObjects(o, 2);
  EXPECT_EQ(o.lblKyori[1].Caption, c.caption);
  EXPECT_NEAR(TagValue(o.lblKyori[1]), c.value, 5e-5);
  EXPECT_EQ(o.lblKyori[0].Caption, c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Site, SampleLines,
    ::testing::Values(LineCase{"building_width", {520, 680}, {1120, 680}, " 15.00 m ", 15},
                      LineCase{"building_depth", {520, 1080}, {520, 680}, " 10.00 m ", 10},
                      LineCase{"boundary_3_4_sloped", {1800, 640}, {1320, 280}, " 15.00 m ", 15},
                      LineCase{"boundary_1_2", {240, 1480}, {1800, 1480}, " 39.00 m ", 39},
                      LineCase{"setback_west", {240, 1010}, {520, 1010}, " 7.00 m ", 7}),
    [](const ::testing::TestParamInfo<LineCase>& i) { return std::string(i.param.what); });

TEST(SampleDrawing, PlantingBedRadius) {
  for (float zoom : {1.0f, 0.5f}) {
    SiteFixture f;
    f.CalibrateByTyping();
    f.zoom = zoom;
    f.doc.view.sngZoom = f.doc.view.sngZoomPrev = zoom;
    SelectMode(f.doc, f.s, MeasureMode::Circle, nullptr);
    // The pointer need not be straight above the centre: the radius is vertical.
    f.Click(Mm(1560, zoom), Mm(860, zoom));
    f.Move(Mm(1590, zoom), Mm(740, zoom));
    f.Click(Mm(1590, zoom), Mm(740, zoom));
    const Collections& o = f.doc.objects;
    ExpectDistanceObjects(o, 1);
    EXPECT_EQ(o.lblKyori[0].Caption, " 3.00 m ") << zoom;
    EXPECT_NEAR(TagValue(o.lblKyori[0]), 3, 5e-5);
    const ShapeRecord& c = f.doc.live.shpCircle;
    EXPECT_TRUE(c.Visible);
    EXPECT_NEAR(c.Height, 2 * Mm(120, zoom), 1e-3);
    EXPECT_NEAR(c.Width, c.Height, 1e-3);
    EXPECT_NEAR(c.Left + c.Width / 2, Mm(1560, zoom), 1e-3);
  }
}

TEST(SampleDrawing, DrivewayRoute) {
  SiteFixture f;
  f.CalibrateByTyping();
  SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
  f.PathPx({{1520, 1480}, {1520, 1200}, {1280, 1020}, {1120, 1020}});
  ASSERT_TRUE(CommandFinishRoute(f.doc, f.s));
  const Collections& o = f.doc.objects;
  ExpectDistanceObjects(o, 3);
  EXPECT_EQ(o.lblKyori[0].Caption, " 7.00 m ");
  EXPECT_EQ(o.lblKyori[1].Caption, " 7.50 m ");
  EXPECT_EQ(o.lblKyori[2].Caption, " 4.00 m ");
  ExpectSpareHidden(o.lblKeiroS, 1, "lblKeiroS");
  EXPECT_EQ(o.lblKeiroS[0].Caption, " 18.50 m ");
  EXPECT_NEAR(TagValue(o.lblKeiroS[0]), 18.5, 5e-5);
  EXPECT_EQ(Tagged(o, o.lblKeiroS[0].Tag), 3);
  ExpectSpareHidden(o.linePS, 3, "linePS");
  // "面積情報を残す" is checked with the path mode, but a route is no area.
  EXPECT_EQ(UBound(o.lblMensekiS), 0);
  EXPECT_FALSE(f.s.flags.booPathStarted);
}

// The plot closed by releasing on boundary mark No.1 and by "面積計算".
TEST(SampleDrawing, PlotAreaClosedBySnapOrCommand) {
  for (bool bySnap : {true, false}) {
    SiteFixture f;
    f.CalibrateByTyping();
    SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
    ASSERT_TRUE(f.s.menu.popMesPutMen);
    std::vector<Px> pts = kBoundary;
    if (bySnap) {
      // Released a pixel beside No.1: the snap puts the end onto it.
      pts.push_back({243, 1478});
      f.PathPx(pts);
    } else {
      f.PathPx(pts);
      ASSERT_EQ(UBound(f.doc.objects.lblMensekiS), 0);
      ASSERT_TRUE(CommandCloseArea(f.doc, f.s));
    }
    const Collections& o = f.doc.objects;
    ExpectSpareHidden(o.lblMensekiS, 1, "lblMensekiS");
    EXPECT_EQ(o.lblMensekiS[0].Caption, " 1,116.00 m2 ") << bySnap;
    EXPECT_NEAR(TagValue(o.lblMensekiS[0]), 1116, 5e-4);
    EXPECT_EQ(f.doc.live.lblMenseki.Caption, " 1,116.00 m2 ");
    ExpectSpareHidden(o.lblKeiroS, 1, "lblKeiroS");
    EXPECT_EQ(o.lblKeiroS[0].Caption, " 132.00 m ") << bySnap;
    EXPECT_EQ(Tagged(o, o.lblMensekiS[0].Tag), 5);
    EXPECT_EQ(Tagged(o, o.lblKeiroS[0].Tag), 5);
    ExpectSpareHidden(o.linePS, 10, "linePS");
    ExpectDistanceObjects(o, 5);
    const char* sides[] = {" 39.00 m ", " 21.00 m ", " 15.00 m ", " 27.00 m ", " 30.00 m "};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(o.lblKyori[static_cast<std::size_t>(i)].Caption, sides[i]) << i;
    EXPECT_FALSE(f.doc.live.shpSnap.Visible);
    EXPECT_FALSE(f.s.flags.booPathStarted);
  }
}

// Two correspondence points of known longitude/latitude (No.1 and No.3).
struct LatLongFixture : SiteFixture {
  bool Calibrate() {
    LoadOptionsForm(doc, form);
    ChooseMode(doc, form, 1);
    SelectOptionTab(doc, form, 3);
    form.txtPict_mm1 = {Typed(Mm(240)), Typed(Mm(1480))};
    form.txtPict_mm2 = {Typed(Mm(1800)), Typed(Mm(640))};
    for (int i = 0; i < 2; ++i) {
      PictMmLeave(doc, form, 0, i);
      PictMmLeave(doc, form, 1, i);
    }
    form.txtKeido1 = {"139", "45", "10", ""};
    form.txtIdo1 = {"35", "40", "20", ""};
    form.txtKeido2 = {"139", "45", "11.5553", ""};
    form.txtIdo2 = {"35", "40", "20.6803", ""};
    const bool ok = ApplyLatLong(doc, form);
    CloseOptionsForm(doc, form);
    return ok;
  }
};

TEST(SampleDrawing, LatLongCalibrationMeasuresInMetres) {
  LatLongFixture f;
  ASSERT_TRUE(f.Calibrate());
  EXPECT_TRUE(f.doc.state.GE_booModeKei);
  EXPECT_FALSE(f.doc.state.GE_booModeDis);
  EXPECT_NEAR(f.doc.state.GE_dblKeido0, 503110, 1e-6);
  EXPECT_NEAR(f.doc.state.GE_dblIdo1, 128420.6803, 1e-5);

  f.MeasurePx({240, 1480}, {1800, 1480});
  EXPECT_FALSE(f.s.flags.Running());
  EXPECT_TRUE(f.s.flags.booMesShownKei);
  f.MeasurePx({1800, 1480}, {1800, 640});
  const Collections& o = f.doc.objects;
  ExpectDistanceObjects(o, 2);
  EXPECT_EQ(o.lblKyori[0].Caption, " 39.00 m ");
  EXPECT_EQ(o.lblKyori[1].Caption, " 21.00 m ");
  // The positions on the drawing are rounded to 0.0001", a few millimetres.
  EXPECT_NEAR(TagValue(o.lblKyori[0]), 39, 0.005);
  EXPECT_NEAR(TagValue(o.lblKyori[1]), 21, 0.005);
  EXPECT_EQ(ParseValueTag(o.lblKyori[0].Tag)->unit, 2);
}

}  // namespace
}  // namespace planimo::test
