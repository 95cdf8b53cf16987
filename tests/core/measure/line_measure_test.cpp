#include <gtest/gtest.h>

#include <cmath>

#include "geometry/calibration.h"
#include "measure/line_measure.h"
#include "measure_fixture.h"
#include "model/value_tag.h"

namespace planimo::test {
namespace {

struct LineCase {
  const char* name;
  float x1, y1, x2, y2;
  const char* caption;
  float sideX, sideY;  // direction from a measured point to its kept far end
};

class LineDirections : public ::testing::TestWithParam<LineCase> {};

// Kept dimensions stand above a segment drawn to the right, below one drawn
// to the left, and to the right of a vertical one whichever way it was drawn.
TEST_P(LineDirections, KeepsValueAndSide) {
  const LineCase& c = GetParam();
  MapFixture f;
  f.Measure(c.x1, c.y1, c.x2, c.y2);
  const Collections& o = f.doc.objects;
  ASSERT_EQ(f.KeptDistances(), 1);
  EXPECT_EQ(o.lblKyori[0].Caption, c.caption);
  EXPECT_TRUE(o.lblKyori[0].Visible);
  EXPECT_FALSE(o.lblKyori[1].Visible);
  const std::optional<ValueTag> tag = ParseValueTag(o.lblKyori[0].Tag);
  ASSERT_TRUE(tag);
  EXPECT_EQ(tag->unit, 2);
  EXPECT_EQ(tag->decimals, 2);
  EXPECT_EQ(tag->time.hour, 10);
  EXPECT_EQ(tag->time.second, 30);
  for (int i = 0; i < 2; ++i) {
    const LineRecord& e = o.lineHojoSave[static_cast<std::size_t>(i)];
    EXPECT_NEAR(e.X2 - e.X1, 15 * c.sideX, 1e-4) << i;
    EXPECT_NEAR(e.Y2 - e.Y1, 15 * c.sideY, 1e-4) << i;
    EXPECT_FLOAT_EQ(o.shpSnpo[static_cast<std::size_t>(i)].Left + o.shpSnpo[0].Width / 2, e.X2);
  }
  EXPECT_EQ(o.lineDsSave[0].X1, o.lineHojoSave[0].X2);
  EXPECT_EQ(o.lineDsSave[0].Y2, o.lineHojoSave[1].Y2);
  // The label sits centred on the dimension line.
  const TextRecord& l = o.lblKyori[0];
  EXPECT_FLOAT_EQ(l.Left + l.Width / 2, (o.lineDsSave[0].X1 + o.lineDsSave[0].X2) / 2);
  EXPECT_TRUE(f.s.flags.booMesShownDis);
  EXPECT_FALSE(f.s.flags.Running());
  EXPECT_EQ(f.s.readout.txtPict[4], c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    All, LineDirections,
    ::testing::Values(LineCase{"right", 10, 50, 40, 50, " 30.00 m ", 0, -1},
                      LineCase{"left", 40, 50, 10, 50, " 30.00 m ", 0, 1},
                      LineCase{"down", 20, 20, 20, 60, " 40.00 m ", 1, 0},
                      LineCase{"up", 20, 60, 20, 20, " 40.00 m ", 1, 0},
                      LineCase{"diagonal", 10, 10, 40, 50, " 50.00 m ", 0.8f, -0.6f},
                      LineCase{"diagonalBack", 40, 50, 10, 10, " 50.00 m ", -0.8f, 0.6f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineMeasure, ValueFollowsRatiosAndZoom) {
  MapFixture f;
  f.doc.state.GE_tpPtoD_r_X = 2.5;
  f.doc.state.GE_tpPtoD_r_Y = 0.5;
  f.doc.view.sngZoom = 2.0f;
  f.Measure(0, 0, 60, 80);  // 30 x 40 drawing mm
  EXPECT_EQ(f.doc.objects.lblKyori[0].Caption, " 77.62 m ");  // sqrt(75^2 + 20^2)
  const std::optional<ValueTag> tag = ParseValueTag(f.doc.objects.lblKyori[0].Tag);
  EXPECT_DOUBLE_EQ(tag->value, std::sqrt(75.0 * 75.0 + 20.0 * 20.0));
}

TEST(LineMeasure, ClickWithoutMoveKeepsRunning) {
  MapFixture f;
  f.Click(10, 10);
  f.Click(10, 10);
  EXPECT_TRUE(f.s.flags.booMesRunDis);
  EXPECT_EQ(f.KeptDistances(), 0);
  // A press-drag-release leaves it running too.
  f.Down(30, 10);
  f.Move(35, 10, false, 1);
  f.Up(35, 10);
  EXPECT_TRUE(f.s.flags.booMesRunDis);
  EXPECT_EQ(f.KeptDistances(), 0);
  f.Move(40, 10);
  EXPECT_EQ(f.doc.live.lineDistance.X2, 40);
  f.Click(40, 10);
  EXPECT_EQ(f.KeptDistances(), 1);
  EXPECT_EQ(f.doc.objects.lblKyori[0].Caption, " 30.00 m ");
}

TEST(LineMeasure, ShiftConstrainsTheEnd) {
  MapFixture f;
  f.Click(10, 10);
  f.Move(40, 14, true);
  EXPECT_EQ(f.doc.live.lineDistance.Y2, 10);
  f.Move(14, 40, true);
  EXPECT_EQ(f.doc.live.lineDistance.X2, 10);
  f.Move(40, 30, true);
  EXPECT_EQ(f.doc.live.lineDistance.X2, 30);
  EXPECT_EQ(f.doc.live.lineDistance.Y2, 30);
}

TEST(LineMeasure, NotKeptWithoutPutSen) {
  MapFixture f;
  TogglePutSen(f.s);
  f.Measure(10, 10, 50, 10);
  EXPECT_EQ(f.KeptDistances(), 0);
  EXPECT_EQ(f.doc.objects.lineHojoSave.size(), 1u);
  EXPECT_TRUE(f.doc.live.lineDistance.Visible);
  EXPECT_EQ(f.doc.live.lblDistance.Caption, " 40.00 m ");
}

TEST(LineMeasure, KeptInTheLatLongCalibration) {
  MapFixture f;
  ProjectState& st = f.doc.state;
  st.GE_booModeDis = false;
  st.GE_booModeKei = true;
  st.GE_tpPtoK_r_X = 1;
  st.GE_tpPtoK_r_Y = -1;  // latitude grows upwards
  st.GE_tpPx00ToKei_Ll = 487800;
  st.GE_tpPx00ToKei_La = 126000;
  f.Measure(10, 70, 10, 10);  // 60 arc-seconds north: one nautical mile
  ASSERT_EQ(f.KeptDistances(), 1);
  EXPECT_EQ(f.doc.objects.lblKyori[0].Caption, " 1,852.00 m ");
  EXPECT_EQ(f.doc.objects.lblKyori[0].ToolTipText, f.s.readout.txtPict[3]);
  EXPECT_TRUE(f.s.flags.booMesShownKei);
  EXPECT_FALSE(f.s.flags.booMesRunKei);
}

TEST(CircleMeasure, RadiusIsVerticalAndEllipseFollowsAspect) {
  MapFixture f;
  SelectMode(f.doc, f.s, MeasureMode::Circle, nullptr);
  f.doc.state.GE_dblAspectM = 2.0;
  f.Click(50, 50);
  EXPECT_TRUE(f.doc.live.shpCircle.Visible);
  f.Move(70, 60);
  const ShapeRecord& c = f.doc.live.shpCircle;
  EXPECT_EQ(f.doc.live.lineDistance.X2, 50);
  EXPECT_EQ(c.Height, 20);
  EXPECT_EQ(c.Width, 40);
  EXPECT_EQ(c.Top, 40);
  EXPECT_EQ(c.Left, 30);
  EXPECT_EQ(f.doc.live.lblDistance.Caption, " 10.00 m ");
  f.Click(70, 60);
  EXPECT_EQ(f.doc.objects.lblKyori[0].Caption, " 10.00 m ");
  // A pointer level with the centre gives radius 0.
  f.Click(20, 20);
  f.Move(40, 20);
  EXPECT_EQ(f.doc.live.shpCircle.Height, 0);
  EXPECT_EQ(f.doc.live.lblDistance.Caption, " 0.00 m ");
}

struct SpecifiedCase {
  float pointerX;
};

class SpecifiedDistance : public ::testing::TestWithParam<float> {};

// The dimension marks the specified distance on the ray to the pointer,
// whether the pointer lies short of it or beyond.
TEST_P(SpecifiedDistance, MarksTheDistanceOnTheRay) {
  MapFixture f;
  ScriptedAsker asker;
  asker.answer = "50";
  SelectMode(f.doc, f.s, MeasureMode::Specified, &asker);
  ASSERT_EQ(asker.asked.size(), 1u);
  EXPECT_EQ(asker.asked[0][3], "50");
  f.Click(10, 20);
  f.Move(GetParam(), 20);
  EXPECT_EQ(f.doc.live.lineDistance.X2, GetParam());
  EXPECT_EQ(f.doc.live.lineHojo[1].X1, 60);
  EXPECT_EQ(f.doc.live.lblDistance.Caption, " 50.00 m ");
  f.Click(GetParam(), 20);
  ASSERT_EQ(f.KeptDistances(), 1);
  EXPECT_EQ(f.doc.objects.lineDsSave[0].X2, 60);
  EXPECT_EQ(f.doc.objects.lineDsSave[0].X1, 10);
}

INSTANTIATE_TEST_SUITE_P(All, SpecifiedDistance, ::testing::Values(30.0f, 90.0f));

TEST(SpecifiedDistanceMode, CancelKeepsDistanceAndCaption) {
  MapFixture f;
  ScriptedAsker asker;
  asker.answer = "25.5";
  SelectMode(f.doc, f.s, MeasureMode::Specified, &asker);
  EXPECT_EQ(f.s.dblFixedDistance, 25.5);
  EXPECT_EQ(f.doc.specifiedDistanceCaption, "25.5 m ");
  asker.answer.reset();
  SelectMode(f.doc, f.s, MeasureMode::Specified, &asker);
  EXPECT_EQ(asker.asked[1][3], "25.5");
  EXPECT_EQ(f.s.dblFixedDistance, 25.5);
  EXPECT_EQ(f.doc.specifiedDistanceCaption, "25.5 m ");
  asker.answer = "abc";
  SelectMode(f.doc, f.s, MeasureMode::Specified, &asker);
  EXPECT_EQ(f.s.dblFixedDistance, 25.5);
}

// The marked end is found on the drawing itself: the zoom changes where it
// shows, never which point it is, and it lies the fixed distance away.
TEST(SpecifiedDistanceMode, EndIsTheSameDrawingPointAtEveryZoom) {
  for (const bool latLong : {false, true}) {
    PointF atFullSize;
    for (const float zoom : {1.0f, 4.0f}) {
      MapFixture f;
      ProjectState& st = f.doc.state;
      st.GE_booModeDis = !latLong;
      st.GE_booModeKei = latLong;
      st.GE_tpPtoD_r_X = 100;
      st.GE_tpPtoD_r_Y = 120;
      // 1000 mm span one degree of longitude and of latitude at 35-36° N.
      st.GE_tpPiccel_1X = st.GE_tpPiccel_1Y = 10;
      st.GE_tpPiccel_2X = st.GE_tpPiccel_2Y = 1010;
      st.GE_dblKeido0 = 140 * 3600.0;
      st.GE_dblIdo0 = 36 * 3600.0;
      st.GE_dblKeido1 = 141 * 3600.0;
      st.GE_dblIdo1 = 35 * 3600.0;
      if (latLong) {
        ASSERT_TRUE(ComputeLatLongCalibration(st));
      }
      f.doc.view.sngZoom = zoom;
      ScriptedAsker asker;
      asker.answer = "20000";
      SelectMode(f.doc, f.s, MeasureMode::Specified, &asker);
      f.Click(500 * zoom, 800 * zoom);
      f.Move(900 * zoom, 300 * zoom);
      const LineRecord& mark = f.doc.live.lineHojo[1];
      const PointF end{mark.X1 / zoom, mark.Y1 / zoom};
      if (zoom == 1.0f) atFullSize = end;
      EXPECT_NEAR(end.x, atFullSize.x, 2e-3) << latLong << " " << zoom;
      EXPECT_NEAR(end.y, atFullSize.y, 2e-3) << latLong << " " << zoom;
      const auto v = MeasureViewSegment(f.doc, !latLong, 500 * zoom, 800 * zoom, mark.X1, mark.Y1);
      ASSERT_TRUE(v.has_value());
      // Within what the cosine of the latitude halfway to the pointer allows.
      EXPECT_NEAR(v->value, 20000, 20) << latLong << " " << zoom;
    }
  }
}

TEST(SpecifiedDistanceMode, LatLongTakesMetres) {
  MapFixture f;
  f.doc.state.GE_booModeDis = false;
  f.doc.state.GE_booModeKei = true;
  f.doc.state.GE_intUnitDIndex = 3;  // km
  ScriptedAsker asker;
  asker.answer = "2";
  SelectMode(f.doc, f.s, MeasureMode::Specified, &asker);
  EXPECT_DOUBLE_EQ(f.s.dblFixedDistance, 2000);
}

}  // namespace
}  // namespace planimo::test
