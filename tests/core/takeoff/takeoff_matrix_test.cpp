// The list's commands arriving while something else runs on the map: every
// command in every running state either leaves the running measurement as
// it was or drops it whole, does to the kept records exactly what it does
// on a quiet map, makes one undo step that gives back every record, and
// keeps each object's item through deletes and undo.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/measure/measure_fixture.h"
#include "io/project_flow.h"
#include "measure/abandon.h"
#include "measure/annotations.h"
#include "measure/edit_commands.h"
#include "measure/label_events.h"
#include "measure/measure_keys.h"
#include "measure/vertex_drag.h"
#include "model/history.h"
#include "model/rescale.h"
#include "takeoff/takeoff_edit.h"
#include "takeoff/takeoff_rows.h"
#include "takeoff/takeoff_select.h"
#include "takeoff/takeoff_table.h"
#include "takeoff/takeoff_totals.h"

namespace planimo::test {
namespace {

SelectedObject Sel(const char* kind, int i) { return {kind, static_cast<std::int16_t>(i)}; }

// Three walls and a room, the outer walls and the room in items; the
// room's membership is the history's one step.
struct Site : MapFixture {
  Site() {
    SelectMode(doc, s, MeasureMode::Line, nullptr);
    Measure(10, 10, 60, 10);
    Measure(10, 20, 90, 20);
    Measure(100, 60, 150, 60);
    SelectMode(doc, s, MeasureMode::Path, nullptr);
    const float pts[][2] = {{10, 30}, {50, 30}, {50, 50}, {10, 50}, {10, 30}};
    Click(pts[0][0], pts[0][1]);
    for (int i = 1; i < 5; ++i) {
      Move(pts[i][0], pts[i][1]);
      Click(pts[i][0], pts[i][1]);
    }
    AddItem(doc, "外壁", Rgb(200, 0, 0));
    AddItem(doc, "床", Rgb(0, 0, 200));
    AssignItem(doc, {Sel(kKindKyori, 0), Sel(kKindKyori, 2)}, 1);
    SelectMode(doc, s, MeasureMode::Line, nullptr);
    EscapeMeasurement(doc, s);
    ResetHistory(h, doc);
    AssignItem(doc, {Sel(kKindMensekiS, 0)}, 2);
    Checkpoint(h, doc, "品目に入れる");
  }
  MouseResult Press(float x, float y) { return OnMapMouseDown(doc, s, {1, x, y}, &tools); }
  MouseResult Drag(float x, float y) { return OnMapMouseMove(doc, s, {1, x, y}, &tools); }

  CoreAnnotationTools tools;
  History h;
  bool held = false;  // a gesture on the map holds the left button
};

// What undo gives back and a command changes; Differs names the kinds of
// record that differ.
struct Content {
  Collections objects;
  std::vector<TakeoffItem> items;
  std::string Differs(const Content& o) const {
    const Collections& a = objects;
    const Collections& b = o.objects;
    std::string d = items != o.items ? " items" : "";
    const auto cmp = [&d](bool same, const char* name) { d += same ? "" : std::string(" ") + name; };
    cmp(a.lblKyori == b.lblKyori && a.lineDsSave == b.lineDsSave && a.lineHojoSave == b.lineHojoSave &&
            a.shpSnpo == b.shpSnpo,
        "distances");
    cmp(a.lblKeiroS == b.lblKeiroS && a.lblMensekiS == b.lblMensekiS && a.linePS == b.linePS, "outlines");
    cmp(a.lineHikidashi == b.lineHikidashi, "leaders");
    cmp(a.lblMoji == b.lblMoji && a.lblKeiIdoS == b.lblKeiIdoS, "texts");
    return d;
  }
};
// The leader lines' spare as the history holds it: what a line pulled out
// and dropped leaves in it is no record of the drawing.
Content ContentOf(const Site& f) {
  Content c{f.doc.objects, f.doc.state.takeoffItems};
  std::vector<LineRecord> fresh;
  AppendSpare(fresh);
  c.objects.lineHikidashi.back() = fresh.back();
  return c;
}

// The live figure of a measurement in progress.
struct Live {
  RunFlags flags;
  bool grab = false, label = false;
  LineRecord line, check;
  TextRecord value;
  ShapeRecord circle;
  std::vector<LineRecord> path;
  bool operator==(const Live&) const = default;
};
Live LiveOf(const Site& f) {
  const WorkingObjects& l = f.doc.live;
  return {f.s.flags, f.s.vertexGrab.held(), f.s.labelGrab.held, l.lineDistance, l.lineCheck, l.lblDistance,
          l.shpCircle, l.lineMenseki};
}

struct State {
  const char* name;
  std::function<void(Site&)> enter;
  bool vertex = false;  // a vertex of a kept object is held
};

const std::vector<State>& States() {
  static const std::vector<State> states = {
      {"nothing running", [](Site&) {}},
      {"a line after its first click",
       [](Site& f) {
         f.Click(100, 100);
         f.Move(120, 110);
       }},
      {"a path fixed between vertices",
       [](Site& f) {
         SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
         f.Click(100, 100);
         f.Move(130, 100);
         f.Click(130, 100);
         f.Move(130, 120);
       }},
      {"a radius circle",
       [](Site& f) {
         SelectMode(f.doc, f.s, MeasureMode::Circle, nullptr);
         f.Click(100, 100);
         f.Move(100, 120);
       }},
      {"a specified distance",
       [](Site& f) {
         ScriptedAsker asker;
         asker.answer = "5";
         SelectMode(f.doc, f.s, MeasureMode::Specified, &asker);
         f.Click(100, 100);
         f.Move(120, 100);
       }},
      {"the known-distance pick",
       [](Site& f) {
         f.s.menu.mnuToolMes = false;
         f.s.menu.mnuEditSetEnabled = false;
         f.doc.state.booPickDis = true;
         f.Click(100, 100);
         f.Move(140, 100);
       }},
      {"the tilt pick, dragged",
       [](Site& f) {
         f.s.menu.mnuToolMes = false;
         f.doc.state.booPickHosei = true;
         f.Press(100, 100);
         f.Drag(140, 104);
         f.held = true;
       }},
      {"a leader line being dragged",
       [](Site& f) {
         SelectTool(f.s, Tool::Leader);
         f.Press(100, 100);
         f.Drag(140, 130);
         f.held = true;
       }},
      {"a label being dragged",
       [](Site& f) {
         const TextRecord& l = f.doc.objects.lblKyori[1];
         const float x = l.Left + 1, y = l.Top + 1;
         ASSERT_TRUE(LabelPress(f.doc, f.s, {1, x, y}));
         ASSERT_TRUE(LabelDrag(f.doc, f.s, {1, x + 20, y + 20}));
         f.held = true;
       }},
      {"a vertex drag of the room",
       [](Site& f) {
         SelectMode(f.doc, f.s, MeasureMode::Select, nullptr);
         f.Press(50, 50);
         ASSERT_TRUE(f.s.vertexGrab.held());
         f.Drag(60, 60);
         f.held = true;
       },
       true},
      {"a vertex drag of the first wall",
       [](Site& f) {
         SelectMode(f.doc, f.s, MeasureMode::Select, nullptr);
         f.Press(60, 10);
         ASSERT_TRUE(f.s.vertexGrab.held());
         f.Drag(70, 14);
         f.held = true;
       },
       true},
      {"a zoom in the middle of a line",
       [](Site& f) {
         f.Click(100, 100);
         f.Move(120, 110);
         ResetDisplayMenu(f.doc, f.s);
         f.doc.view.sngZoom = 2;
         ASSERT_TRUE(subDisp_Object(f.doc));
       }},
  };
  return states;
}

// The list's commands, as the dock runs them.
struct Command {
  const char* name;
  std::function<bool(Site&)> run;  // true when it changes the drawing
  bool choosesRow = false;         // the row is chosen first, as the click on it does
};

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"put rows into an item",
       [](Site& f) { return AssignItem(f.doc, {Sel(kKindKyori, 1), Sel(kKindMensekiS, 0)}, 1); }},
      {"take rows out", [](Site& f) { return AssignItem(f.doc, {Sel(kKindKyori, 0), Sel(kKindMensekiS, 0)}, 0); }},
      {"mark a deduction", [](Site& f) { return SetDeduction(f.doc, {Sel(kKindMensekiS, 0)}, true); }},
      {"add an item", [](Site& f) { return AddItem(f.doc, "舗装", Rgb(0, 120, 0)) == 3; }},
      {"change an item", [](Site& f) { return ChangeItem(f.doc, 2, "床仕上げ", Rgb(0, 0, 90)); }},
      {"remove an item with members", [](Site& f) { return RemoveItem(f.doc, 1); }},
      {"choose a row",
       [](Site& f) {
         EXPECT_TRUE(SelectListed(f.doc, f.s, RowSelection(TakeoffRows(f.doc).front())));
         return false;
       },
       true},
      {"delete the first wall from its row's popup",
       [](Site& f) {
         EXPECT_TRUE(SelectListed(f.doc, f.s, Sel(kKindKyori, 0)));
         const bool deleted = DeleteSelected(f.doc, f.s);
         EXPECT_EQ(f.doc.objects.lblKyori[1].Item, 1) << "the last wall keeps its item";
         return deleted;
       },
       true},
      {"restyle the room from its row's popup",
       [](Site& f) {
         EXPECT_TRUE(SelectListed(f.doc, f.s, Sel(kKindMensekiS, 0)));
         return SetLineWidth(f.doc, 3);
       },
       true},
      {"copy and CSV",
       [](Site& f) {
         EXPECT_NE(TakeoffClipboardText(f.doc).find('\t'), std::string::npos);
         EXPECT_FALSE(TakeoffCsvText(f.doc).empty());
         return false;
       }},
  };
  return commands;
}

// The rest of the gesture: one more move, then a label drag is released
// and whatever else runs is dropped as Escape drops it (a held vertex goes
// back, a leader line being pulled out goes).
void EndEverything(Site& f) {
  if (f.s.labelGrab.held) {
    LabelDrag(f.doc, f.s, {1, 70, 80});
  } else {
    OnMapMouseMove(f.doc, f.s, {f.held ? 1 : 0, 145, 128}, &f.tools);
  }
  LabelRelease(f.s);
  f.held = false;
  EscapeMeasurement(f.doc, f.s);
}

TEST(TakeoffMatrix, EveryListCommandInEveryRunningState) {
  for (const Command& c : Commands()) {
    for (const State& st : States()) {
      SCOPED_TRACE(std::string(c.name) + " while " + st.name);
      // What must come of it: the state ended first, then the command.
      Site quiet;
      st.enter(quiet);
      EndEverything(quiet);
      const bool changes = c.run(quiet);
      const Content expected = ContentOf(quiet);

      Site f;
      const Content start = ContentOf(f);
      st.enter(f);
      const bool held = f.held;
      // The window ends a click's step at its release.
      if (!held) Checkpoint(f.h, f.doc, "");
      const Content before = held ? start : ContentOf(f);
      const Live running = LiveOf(f);
      EXPECT_EQ(c.run(f), changes);
      if (c.choosesRow && st.vertex) {
        // Turning to the list lets go of the vertex as a press elsewhere does.
        EXPECT_FALSE(MeasurementRunning(f.s));
      } else {
        EXPECT_EQ(LiveOf(f), running) << "the running measurement goes on untouched";
      }
      // A command during a gesture on the map belongs to its release.
      if (held) EndEverything(f);
      const bool stepped = Checkpoint(f.h, f.doc, c.name);
      if (!held) {
        EXPECT_EQ(stepped, changes);
      }
      const Content after = ContentOf(f);
      if (stepped) {
        ASSERT_TRUE(Undo(f.h, f.doc));
        EXPECT_EQ(ContentOf(f).Differs(before), "") << "undo gives back every record";
        ASSERT_TRUE(Redo(f.h, f.doc));
        EXPECT_EQ(ContentOf(f).Differs(after), "");
      }
      EndEverything(f);
      EXPECT_EQ(ContentOf(f).Differs(expected), "") << "the same records as after the state ended";
      EXPECT_FALSE(MeasurementRunning(f.s));

      // Every listed object is counted once, in the item it belongs to.
      const TakeoffTotals t = ComputeTotals(f.doc);
      int counted = 0;
      for (const ItemTotal& i : t.items) counted += i.count;
      EXPECT_EQ(counted, static_cast<int>(TakeoffRows(f.doc).size()));
      // A measurement kept afterwards belongs to no item.
      SelectTool(f.s, Tool::Measure);
      f.s.menu.mnuEditSetEnabled = true;
      f.doc.state.booPickDis = f.doc.state.booPickHosei = false;
      SelectMode(f.doc, f.s, MeasureMode::Line, nullptr);
      const int kept = f.KeptDistances();
      f.Measure(150, 150, 180, 150);
      ASSERT_EQ(f.KeptDistances(), kept + 1);
      const TextRecord& last = f.doc.objects.lblKyori[static_cast<std::size_t>(kept)];
      EXPECT_EQ(last.Item, 0);
      EXPECT_FALSE(last.Deduction);
    }
  }
}

// Undo and redo as the window gives them: they wait while a button is held
// on the map, then drop what runs and step the records with their items.
TEST(TakeoffMatrix, UndoAndRedoInEveryRunningStateKeepMembership) {
  for (const State& st : States()) {
    SCOPED_TRACE(st.name);
    Site f;
    st.enter(f);
    if (f.held) EndEverything(f);
    EscapeMeasurement(f.doc, f.s);
    f.s.labelGrab = {};
    while (CanUndo(f.h)) ASSERT_TRUE(Undo(f.h, f.doc));
    EXPECT_FALSE(MeasurementRunning(f.s));
    EXPECT_EQ(f.doc.objects.lblMensekiS[0].Item, 0);
    EXPECT_EQ(f.doc.objects.lblKyori[0].Item, 1);
    // A zoom between: the steps come back rescaled, their items with them.
    ResetDisplayMenu(f.doc, f.s);
    f.doc.view.sngZoom = 0.5f;
    ASSERT_TRUE(subDisp_Object(f.doc));
    while (CanRedo(f.h)) ASSERT_TRUE(Redo(f.h, f.doc));
    EXPECT_EQ(f.doc.objects.lblKyori[2].Item, 1);
    EXPECT_EQ(f.doc.objects.lblMensekiS[0].Item, 2);
    EXPECT_EQ(ComputeTotals(f.doc).items[2].count, 1);
  }
}

// A new drawing in every state: nothing runs on, nothing of the old drawing
// is listed, the rest of a gesture reaches nothing, and what is measured
// next belongs to no item.
TEST(TakeoffMatrix, NewDrawingInEveryRunningStateLeavesNothingBehind) {
  for (const State& st : States()) {
    SCOPED_TRACE(st.name);
    Site f;
    st.enter(f);
    StartNewDrawing(f.doc, f.s, "/maps/plan.jpg");
    EXPECT_FALSE(MeasurementRunning(f.s));
    EXPECT_FALSE(f.s.labelGrab.held);
    EXPECT_TRUE(TakeoffRows(f.doc).empty());
    const Content fresh = ContentOf(f);
    EndEverything(f);
    OnMapMouseUp(f.doc, f.s, {1, 145, 128}, &f.tools);
    EXPECT_EQ(ContentOf(f).Differs(fresh), "");
    SelectMode(f.doc, f.s, MeasureMode::Line, nullptr);
    f.Measure(150, 150, 180, 150);
    ASSERT_EQ(f.KeptDistances(), 1);
    EXPECT_EQ(f.doc.objects.lblKyori[0].Item, 0);
  }
}

}  // namespace
}  // namespace planimo::test
