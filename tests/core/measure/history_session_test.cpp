// A session of mixed commands played on the map, each ended by a checkpoint
// as the window ends every user action; then undone step by step to the
// start and redone to the end, comparing every record at every step.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "measure/annotations.h"
#include "measure/dispatcher.h"
#include "measure/edit_commands.h"
#include "measure/label_events.h"
#include "measure/measure_keys.h"
#include "measure_fixture.h"
#include "model/history.h"

namespace planimo::test {
namespace {

struct Content {
  Collections o;
  ProjectState state;
  TextNumbering numbering;
  LineRecord lineStyle;
  std::uint64_t revision = 0;
};

Content Of(const Document& d) { return {d.objects, d.state, d.numbering, d.live.linDefault, d.revision}; }

void ExpectSame(const Content& want, const Document& d, const std::string& where) {
  const Collections& a = want.o;
  const Collections& b = d.objects;
  EXPECT_TRUE(a.lblKyori == b.lblKyori && a.lineDsSave == b.lineDsSave && a.lineHojoSave == b.lineHojoSave &&
              a.shpSnpo == b.shpSnpo && a.lblKeiroS == b.lblKeiroS && a.lblMensekiS == b.lblMensekiS &&
              a.linePS == b.linePS && a.lineHikidashi == b.lineHikidashi && a.lblMoji == b.lblMoji &&
              a.lblKeiIdoS == b.lblKeiIdoS)
      << where;
  EXPECT_TRUE(want.state == d.state) << where;
  EXPECT_TRUE(want.numbering == d.numbering) << where;
  EXPECT_EQ(want.lineStyle.BorderWidth, d.live.linDefault.BorderWidth) << where;
  EXPECT_EQ(want.revision, d.revision) << where;
}

class Answer : public PromptAsker {
 public:
  std::optional<std::string> Ask(const std::string&, const std::string&, const std::string&) override {
    return "境界杭";
  }
};

struct Session : MapFixture {
  Session() { ResetHistory(h, doc); }
  void Path(const std::vector<std::pair<float, float>>& pts) {
    Click(pts[0].first, pts[0].second);
    for (std::size_t i = 1; i < pts.size(); ++i) {
      Move(pts[i].first, pts[i].second);
      Click(pts[i].first, pts[i].second);
      End("");  // each kept segment is a step of its own
      if (i + 1 < pts.size()) Click(pts[i].first, pts[i].second);
    }
  }
  void End(const std::string& caption) {
    if (Checkpoint(h, doc, caption)) {
      steps.push_back(Of(doc));
      captions.push_back(h.undo.back().caption);
    }
  }
  History h;
  std::vector<Content> steps;
  std::vector<std::string> captions;
};

TEST(HistorySession, UndoneToTheStartAndRedoneToTheEndRecordByRecord) {
  Session f;
  f.steps.push_back(Of(f.doc));
  f.Measure(10, 10, 60, 10);
  f.End("");
  SetExtensionLength(f.doc, f.s, 25);
  f.End("寸法引き出し線の長さ");
  f.Measure(10, 40, 10, 90);
  f.End("");
  // A route of two segments, each segment's distance kept, then the route.
  SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
  f.End("連続");  // a mode changes no record: no step
  f.Path({{100, 100}, {150, 100}, {150, 150}});
  ASSERT_TRUE(CommandFinishRoute(f.doc, f.s));
  f.End("経路距離計算");
  // An area closed onto its first vertex.
  f.Path({{200, 100}, {240, 100}, {240, 140}, {200, 100}});
  // A label dragged by 5 mm, then given a comment.
  SelectMode(f.doc, f.s, MeasureMode::Line, nullptr);
  const TextRecord& l0 = f.doc.objects.lblKyori[0];
  const float x = l0.Left + 1, y = l0.Top + 1;
  ASSERT_TRUE(LabelPress(f.doc, f.s, {1, x, y, false, false, false}));
  for (int i = 1; i <= 5; ++i) LabelDrag(f.doc, f.s, {1, x + static_cast<float>(i), y, false, false, false});
  LabelRelease(f.s);
  f.End("");  // one step per drag, not per move
  Answer answer;
  ASSERT_TRUE(LabelDoubleClick(f.doc, f.s, x + 6, y, answer));
  f.End("コメント");
  // A leader line drawn and a text placed with their tools, the text
  // duplicated, a distance restyled, flipped, converted and deleted.
  CoreAnnotationTools tools;
  SelectTool(f.s, Tool::Leader);
  OnMapMouseDown(f.doc, f.s, {1, 50, 200, false, false, false}, &tools);
  OnMapMouseMove(f.doc, f.s, {1, 90, 230, false, false, false}, &tools);
  OnMapMouseUp(f.doc, f.s, {1, 90, 230, false, false, false}, &tools);
  f.End("");
  SelectTool(f.s, Tool::Comment);
  OnMapMouseDown(f.doc, f.s, {1, 60, 250, false, false, false}, &tools);
  OnMapMouseUp(f.doc, f.s, {1, 60, 250, false, false, false}, &tools);
  f.End("");
  f.doc.selected = {kKindMoji, 1};
  ASSERT_TRUE(DuplicateSelected(f.doc));
  f.End("複製");
  SelectTool(f.s, Tool::Measure);
  f.doc.selected = {kKindKyori, 1};
  ASSERT_TRUE(SetLineWidth(f.doc, 3));
  f.End("線の幅 3P");
  ASSERT_TRUE(ReverseSelectedDimension(f.doc));
  f.End("測定線の反対側へ移動");
  ASSERT_TRUE(ChangeDistanceUnit(f.doc, 1));
  f.End("単位変換（距離・寸法） km");
  f.doc.selected = {kKindKyori, 0};
  ASSERT_TRUE(DeleteSelected(f.doc));
  f.End("消去");
  ClearMeasurementData(f.doc, f.s);
  f.End("測定データ全消去");

  const std::vector<std::string> want = {"距離の測定", "寸法引き出し線の長さ", "距離の測定", "距離の測定",
                                         "距離の測定", "経路距離計算", "距離の測定", "距離の測定",
                                         "面積の測定", "ラベルの移動", "コメント", "引き出し線の作成",
                                         "文字列の作成", "複製", "線の幅 3P", "測定線の反対側へ移動",
                                         "単位変換（距離・寸法） km", "消去", "測定データ全消去"};
  ASSERT_EQ(f.captions, want);
  ASSERT_EQ(f.steps.size(), want.size() + 1);
  // Every step changed the drawing, so each has its own revision.
  for (std::size_t i = 1; i < f.steps.size(); ++i) EXPECT_GT(f.steps[i].revision, f.steps[i - 1].revision);
  EXPECT_EQ(UndoMenuText(f.h), "元に戻す: 測定データ全消去");
  EXPECT_EQ(RedoMenuText(f.h), "やり直し(&R)");

  for (std::size_t i = f.steps.size() - 1; i > 0; --i) {
    ASSERT_TRUE(Undo(f.h, f.doc));
    ExpectSame(f.steps[i - 1], f.doc, "undo to " + std::to_string(i - 1));
    EXPECT_FALSE(Checkpoint(f.h, f.doc, "x"));  // an undo leaves nothing pending
  }
  EXPECT_FALSE(Undo(f.h, f.doc));
  EXPECT_FALSE(HasUnsavedChanges(f.doc));  // back at the untouched drawing
  EXPECT_EQ(RedoMenuText(f.h), "やり直し: 距離の測定");
  for (std::size_t i = 1; i < f.steps.size(); ++i) {
    ASSERT_TRUE(Redo(f.h, f.doc));
    ExpectSame(f.steps[i], f.doc, "redo to " + std::to_string(i));
  }
  EXPECT_FALSE(Redo(f.h, f.doc));

  // A new command after an undo drops what could have been redone.
  Undo(f.h, f.doc);
  Undo(f.h, f.doc);
  f.Measure(300, 10, 350, 10);
  EXPECT_TRUE(Checkpoint(f.h, f.doc, ""));
  EXPECT_FALSE(CanRedo(f.h));
  Undo(f.h, f.doc);
  ExpectSame(f.steps[f.steps.size() - 3], f.doc, "after the dropped redo");
}

TEST(HistorySession, UndoAfterSaveMakesTheDrawingChangedAndRedoSavedAgain) {
  Session f;
  f.Measure(10, 10, 60, 10);
  f.End("");
  f.Measure(10, 40, 60, 40);
  f.End("");
  f.doc.savedRevision = f.doc.revision;  // what a save does
  EXPECT_FALSE(HasUnsavedChanges(f.doc));
  Undo(f.h, f.doc);
  EXPECT_TRUE(HasUnsavedChanges(f.doc));
  Undo(f.h, f.doc);
  EXPECT_TRUE(HasUnsavedChanges(f.doc));
  Redo(f.h, f.doc);
  Redo(f.h, f.doc);
  EXPECT_FALSE(HasUnsavedChanges(f.doc));
  // A new change after undoing past the save never matches the saved one.
  Undo(f.h, f.doc);
  f.Measure(10, 70, 60, 70);
  f.End("");
  EXPECT_TRUE(HasUnsavedChanges(f.doc));
}

TEST(HistorySession, UndoDuringAPathDropsThePathFirst) {
  Session f;
  SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
  f.Path({{100, 100}, {150, 100}});
  f.Click(150, 100);  // the next segment follows the pointer
  f.Move(150, 160);
  EscapeMeasurement(f.doc, f.s);  // what the window does before an undo
  ASSERT_TRUE(Undo(f.h, f.doc));
  EXPECT_EQ(f.KeptDistances(), 0);
  f.Click(20, 20);  // a fresh path at the clicked point
  EXPECT_EQ(f.doc.live.lineMenseki[0].X1, 20);
}

}  // namespace
}  // namespace planimo::test
