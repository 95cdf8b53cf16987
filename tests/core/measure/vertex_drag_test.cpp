// Correcting kept measurements by dragging a vertex in the select mode: the
// result is what measuring the corrected figure gives, undo gives back every
// record, and whatever interrupts a drag leaves the drawing sound.
#include "measure/vertex_drag.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "measure/abandon.h"
#include "measure/line_measure.h"
#include "measure/measure_keys.h"
#include "measure_fixture.h"
#include "model/history.h"
#include "model/rescale.h"

namespace planimo::test {
namespace {

using Points = std::vector<std::pair<float, float>>;

struct Drawing : MapFixture {
  Drawing() { ResetHistory(h, doc); }
  // A closed outline clicked vertex by vertex, back onto the first.
  void Outline(const Points& pts) {
    SelectMode(doc, s, MeasureMode::Path, nullptr);
    Click(pts[0].first, pts[0].second);
    for (std::size_t i = 1; i < pts.size(); ++i) {
      Move(pts[i].first, pts[i].second);
      Click(pts[i].first, pts[i].second);
    }
    Move(pts[0].first, pts[0].second);
    Click(pts[0].first, pts[0].second);
    Checkpoint(h, doc, "");
  }
  void Line(float x1, float y1, float x2, float y2) {
    SelectMode(doc, s, MeasureMode::Line, nullptr);
    Measure(x1, y1, x2, y2);
    Checkpoint(h, doc, "");
  }
  std::string Drag(float x1, float y1, float x2, float y2) {
    SelectMode(doc, s, MeasureMode::Select, nullptr);
    Down(x1, y1);
    Move((x1 + x2) / 2, (y1 + y2) / 2, false, 1);
    Move(x2, y2, false, 1);
    const std::string step = Up(x2, y2).step;
    Checkpoint(h, doc, step);
    return step;
  }
  History h;
};

bool SameRecords(const Collections& a, const Collections& b) {
  return a.lblKyori == b.lblKyori && a.lineDsSave == b.lineDsSave &&
         a.lineHojoSave == b.lineHojoSave && a.shpSnpo == b.shpSnpo && a.lblKeiroS == b.lblKeiroS &&
         a.lblMensekiS == b.lblMensekiS && a.linePS == b.linePS;
}

TEST(VertexDrag, DistanceEndIsMeasuredAsIfKeptThereAndUndoesByteForByte) {
  Drawing f, direct;
  f.Line(10, 10, 60, 10);
  // The object's own look, comment and side survive the correction.
  TurnDimensionOver(f.doc.objects, 0);
  f.doc.objects.lblKyori[0].ForeColor = Rgb(200, 0, 0);
  f.doc.objects.lblKyori[0].ToolTipText = "北側境界";
  f.doc.objects.lineDsSave[0].BorderWidth = 3;
  Checkpoint(f.h, f.doc, "色");
  const Collections before = f.doc.objects;
  const std::uint64_t revision = f.doc.revision;

  EXPECT_EQ(f.Drag(60.3f, 10.2f, 70, 40), "距離の修正");
  direct.Line(10, 10, 70, 40);
  TurnDimensionOver(direct.doc.objects, 0);
  const Collections& o = f.doc.objects;
  const Collections& d = direct.doc.objects;
  TextRecord label = o.lblKyori[0];
  EXPECT_EQ(label.ForeColor, Rgb(200, 0, 0));
  EXPECT_EQ(label.ToolTipText, "北側境界");
  EXPECT_EQ(o.lineDsSave[0].BorderWidth, 3);
  label.ForeColor = d.lblKyori[0].ForeColor;
  label.ToolTipText = d.lblKyori[0].ToolTipText;
  LineRecord dim = o.lineDsSave[0];
  dim.BorderWidth = d.lineDsSave[0].BorderWidth;
  EXPECT_EQ(label, d.lblKyori[0]);
  EXPECT_EQ(dim, d.lineDsSave[0]);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(o.lineHojoSave[i], d.lineHojoSave[i]) << i;
    EXPECT_EQ(o.shpSnpo[i], d.shpSnpo[i]) << i;
  }
  EXPECT_EQ(UndoMenuText(f.h), "元に戻す: 距離の修正");
  ASSERT_TRUE(Undo(f.h, f.doc));
  EXPECT_TRUE(SameRecords(f.doc.objects, before));
  EXPECT_EQ(f.doc.revision, revision);
  // Pulled away and let go where it was grabbed: no step at all.
  ASSERT_TRUE(Redo(f.h, f.doc));
  const std::size_t steps = f.h.undo.size();
  f.Down(70, 40);
  f.Move(100, 60, false, 1);
  EXPECT_EQ(f.Up(70, 40).step, "");
  EXPECT_FALSE(Checkpoint(f.h, f.doc, ""));
  EXPECT_EQ(f.h.undo.size(), steps);
}

TEST(VertexDrag, AreaVertexMovesBothSegmentsAndTheValueFollows) {
  Drawing f, direct;
  f.Outline({{10, 10}, {50, 10}, {50, 50}, {10, 50}});
  const Collections before = f.doc.objects;
  const std::uint64_t revision = f.doc.revision;
  // The route and the side distances kept with the area share the vertex:
  // the area takes it.
  EXPECT_EQ(f.Drag(50, 50, 70, 60), "面積の修正");
  direct.Outline({{10, 10}, {50, 10}, {70, 60}, {10, 50}});
  const TextRecord& got = f.doc.objects.lblMensekiS[0];
  EXPECT_EQ(got, direct.doc.objects.lblMensekiS[0]);
  EXPECT_EQ(Tagged(f.doc.objects, got.Tag), 4);
  EXPECT_EQ(f.doc.objects.lblKeiroS, before.lblKeiroS);
  EXPECT_EQ(f.doc.objects.lblKyori, before.lblKyori);
  int moved = 0;
  for (const LineRecord& l : f.doc.objects.linePS) {
    if (l.Tag != got.Tag) continue;
    moved += (l.X1 == 70 && l.Y1 == 60) + (l.X2 == 70 && l.Y2 == 60);
  }
  EXPECT_EQ(moved, 2);
  ASSERT_TRUE(Undo(f.h, f.doc));
  EXPECT_TRUE(SameRecords(f.doc.objects, before));
  EXPECT_EQ(f.doc.revision, revision);
}

TEST(VertexDrag, RouteVertexMovesTheRouteAndItsTotal) {
  Drawing f, direct;
  for (Drawing* d : {&f, &direct}) {
    SelectMode(d->doc, d->s, MeasureMode::Path, nullptr);
    const Points pts =
        d == &f ? Points{{10, 10}, {50, 10}, {50, 50}} : Points{{10, 10}, {60, 30}, {50, 50}};
    d->Click(pts[0].first, pts[0].second);
    for (std::size_t i = 1; i < pts.size(); ++i) {
      d->Move(pts[i].first, pts[i].second);
      d->Click(pts[i].first, pts[i].second);
    }
    ASSERT_TRUE(CommandFinishRoute(d->doc, d->s));
    Checkpoint(d->h, d->doc, "");
  }
  EXPECT_EQ(f.Drag(50, 10, 60, 30), "経路の修正");
  EXPECT_EQ(f.doc.objects.lblKeiroS[0], direct.doc.objects.lblKeiroS[0]);
  EXPECT_EQ(Tagged(f.doc.objects, f.doc.objects.lblKeiroS[0].Tag), 2);
}

// What arrives in the middle of a drag, and whether the object is put back
// as grabbed (otherwise the records stay as the interruption left them).
struct Interruption {
  const char* name;
  std::function<void(Drawing&)> happen;
  bool putsBack;
};

TEST(VertexDrag, InterruptionsLeaveTheDrawingSound) {
  const std::vector<Interruption> matrix = {
      {"Escape", [](Drawing& f) { EscapeMeasurement(f.doc, f.s); }, true},
      {"right press", [](Drawing& f) { EXPECT_EQ(f.Down(30, 30, 2).popups.size(), 1u); }, true},
      {"tool change as the window does it",
       [](Drawing& f) {
         AbandonMeasurement(f.doc, f.s);
         SelectTool(f.s, Tool::Leader);
       },
       true},
      {"tool change alone, then a move",
       [](Drawing& f) {
         SelectTool(f.s, Tool::Comment);
         f.Move(40, 40, false, 1);
       },
       true},
      {"mode change", [](Drawing& f) { SelectMode(f.doc, f.s, MeasureMode::Line, nullptr); }, true},
      {"zoom as the window does it",
       [](Drawing& f) {
         ResetDisplayMenu(f.doc, f.s);
         f.doc.view.sngZoom = 2;
         ASSERT_TRUE(subDisp_Object(f.doc));
       },
       false},
      {"records rescaled under the drag",
       [](Drawing& f) {
         f.doc.view.sngZoom = 0.5f;
         ASSERT_TRUE(subDisp_Object(f.doc));
       },
       false},
      {"dragged object deleted",
       [](Drawing& f) {
         if (f.s.vertexGrab.kind == GrabbedKind::Distance) {
           RemoveDistanceObject(f.doc.objects, f.s.vertexGrab.index);
         } else {
           RemoveTagged(f.doc.objects, f.doc.objects.lblMensekiS, 0);
           RemoveTagged(f.doc.objects, f.doc.objects.lblKeiroS, 0);
         }
       },
       false},
      {"undo as the window does it",
       [](Drawing& f) {
         EscapeMeasurement(f.doc, f.s);
         ASSERT_TRUE(Undo(f.h, f.doc));
       },
       false},
      {"a lost release, then a move without the button", [](Drawing& f) { f.Move(33, 33); }, true},
      {"a lost release, then a new press", [](Drawing& f) { f.Down(200, 200); }, true},
  };
  // The end of a distance and the vertex of an outline.
  const std::vector<std::pair<float, float>> grabs = {{60, 10}, {50, 50}};
  for (const Interruption& step : matrix) {
    for (const auto& [gx, gy] : grabs) {
      SCOPED_TRACE(std::string(step.name) + (gx == 60 ? " (distance)" : " (outline)"));
      Drawing f;
      f.Line(10, 10, 60, 10);
      f.Outline({{10, 30}, {50, 30}, {50, 50}, {10, 50}});
      SelectMode(f.doc, f.s, MeasureMode::Select, nullptr);
      const Collections grabbed = f.doc.objects;
      const std::uint64_t revision = f.doc.revision;
      f.Down(gx, gy);
      ASSERT_TRUE(f.s.vertexGrab.held());
      f.Move(gx + 15, gy + 5, false, 1);
      ASSERT_FALSE(SameRecords(f.doc.objects, grabbed));
      step.happen(f);
      if (step.putsBack) {
        EXPECT_TRUE(SameRecords(f.doc.objects, grabbed));
        EXPECT_EQ(f.doc.revision, revision);
      }
      // The rest of the gesture reaches nothing: a grab whose object went
      // is let go at the next event.
      const Collections after = f.doc.objects;
      f.Move(gx + 25, gy + 9, false, 1);
      EXPECT_FALSE(f.s.vertexGrab.held());
      EXPECT_EQ(f.Up(gx + 25, gy + 9).step, "");
      EXPECT_TRUE(SameRecords(f.doc.objects, after));
    }
  }
}

TEST(VertexDrag, OnlyTheSelectModeGrabsAndARunningMeasurementKeepsItsPress) {
  Drawing f;
  f.Line(10, 10, 60, 10);
  const int kept = f.KeptDistances();
  // A line running from elsewhere ends on the vertex instead of moving it.
  f.Click(100, 10);
  f.Move(60, 10);
  f.Down(60, 10);
  EXPECT_FALSE(f.s.vertexGrab.held());
  f.Up(60, 10);
  EXPECT_EQ(f.KeptDistances(), kept + 1);
  // The picking line of the options dialog runs: no grab either.
  SelectMode(f.doc, f.s, MeasureMode::Select, nullptr);
  f.s.flags.booKnownDisRun = true;
  f.doc.state.booPickDis = true;
  EXPECT_FALSE(VertexUnder(f.doc, f.s, 10, 10));
  f.s.flags.booKnownDisRun = false;
  f.doc.state.booPickDis = false;
  EXPECT_TRUE(VertexUnder(f.doc, f.s, 10.5f, 10.5f));
  EXPECT_FALSE(VertexUnder(f.doc, f.s, 12, 10));  // beyond a few pixels
  // Shift squares the moved end from the other one, as when measuring.
  f.Down(60, 10);
  f.Move(80, 13, true, 1);
  f.Up(80, 13, 1, true);
  const LineRecord& e1 = f.doc.objects.lineHojoSave[1];
  EXPECT_EQ(e1.Y1, 10);
}

}  // namespace
}  // namespace planimo::test
