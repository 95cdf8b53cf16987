#include "model/history.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/rescale.h"

namespace planimo {
namespace {

class FixedMeasurer : public TextMeasurer {
 public:
  TextSize Measure(const TextRecord& label) const override {
    return {label.FontSize * static_cast<float>(label.Caption.size()) / 4, label.FontSize / 2};
  }
};

struct Fixture {
  Fixture() {
    doc.measurer = std::make_shared<FixedMeasurer>();
    ResetHistory(h, doc);
  }
  // Fills the spare of every distance collection and appends new spares, as
  // keeping a distance does.
  void Keep(float x) {
    Collections& o = doc.objects;
    o.lblKyori.back() = TextRecord{true, "12.00 m ", "", "022:12_101530", 5, x, 0, 0};
    o.lineDsSave.back() = LineRecord{true, "", x, 1, x + 10, 1};
    AppendSpare(o.lblKyori);
    AppendSpare(o.lineDsSave);
    for (int i = 0; i < 2; ++i) {
      o.lineHojoSave.back() = LineRecord{true, "", x, 0, x, 10};
      o.shpSnpo.back().Visible = true;
      AppendSpare(o.lineHojoSave);
      AppendSpare(o.shpSnpo);
    }
  }
  Document doc;
  History h;
};

TEST(History, KeptRecordsShareEveryBlockThatDidNotChange) {
  Fixture f;
  for (int i = 0; i < 1000; ++i) f.Keep(static_cast<float>(i));
  ASSERT_TRUE(Checkpoint(f.h, f.doc, "a"));
  const std::size_t bulk = f.h.bytes;
  f.Keep(5000);
  ASSERT_TRUE(Checkpoint(f.h, f.doc, "b"));
  const HistoryStep& step = f.h.undo.back();
  // Only the last block of each collection is new.
  EXPECT_EQ(step.before.lblKyori.blocks.front(), step.after.lblKyori.blocks.front());
  EXPECT_NE(step.before.lblKyori.blocks.back(), step.after.lblKyori.blocks.back());
  EXPECT_LT(f.h.bytes - bulk, bulk / 4);
  EXPECT_EQ(step.before.state, step.after.state);
}

TEST(History, NoStepWithoutAChangeAndOnlyStoredContentMarksTheDrawingChanged) {
  Fixture f;
  EXPECT_FALSE(Checkpoint(f.h, f.doc, "nothing"));
  EXPECT_FALSE(CanUndo(f.h));
  EXPECT_EQ(UndoMenuText(f.h), "元に戻す(&U)");
  // Picking flags of the options dialog are no change of the drawing.
  f.doc.state.booPickHosei = true;
  EXPECT_FALSE(Checkpoint(f.h, f.doc, "pick"));
  // A command that forgot to say it changed the drawing is caught here.
  f.doc.state.GE_sngHojoLen = 20;
  EXPECT_TRUE(Checkpoint(f.h, f.doc, "寸法引き出し線の長さ"));
  EXPECT_TRUE(HasUnsavedChanges(f.doc));
  // The style of new objects and the numbering are undoable but not stored.
  f.doc.savedRevision = f.doc.revision;
  f.doc.live.linDefault.BorderWidth = 5;
  f.doc.numbering.textPrefix = "P-";
  EXPECT_TRUE(Checkpoint(f.h, f.doc, "線の幅"));
  EXPECT_FALSE(HasUnsavedChanges(f.doc));
  ASSERT_TRUE(Undo(f.h, f.doc));
  EXPECT_EQ(f.doc.live.linDefault.BorderWidth, 1);
  EXPECT_EQ(f.doc.numbering.textPrefix, "New ");
  EXPECT_TRUE(f.doc.state.booPickHosei);  // the dialog's pick goes on
  ASSERT_TRUE(Undo(f.h, f.doc));
  EXPECT_EQ(f.doc.state.GE_sngHojoLen, 15);
  EXPECT_EQ(f.doc.revision, 0u);
}

TEST(History, StepsTakenAtAnotherZoomComeBackAtTheCurrentOne) {
  Fixture f;
  f.Keep(10);
  Checkpoint(f.h, f.doc, "a");
  const Collections at100 = f.doc.objects;
  f.Keep(40);
  Checkpoint(f.h, f.doc, "b");

  // Zoom to 50 %: the records follow, which is no step.
  f.doc.view.sngZoom = 0.5f;
  ASSERT_TRUE(subDisp_Object(f.doc));
  EXPECT_FALSE(Checkpoint(f.h, f.doc, "zoom"));
  EXPECT_EQ(f.h.undo.size(), 2u);

  ASSERT_TRUE(Undo(f.h, f.doc));
  Document want;
  want.measurer = f.doc.measurer;
  want.objects = at100;
  want.view.sngZoom = 0.5f;
  ASSERT_TRUE(subDisp_Object(want));
  EXPECT_TRUE(f.doc.objects.lblKyori == want.objects.lblKyori);
  EXPECT_TRUE(f.doc.objects.lineDsSave == want.objects.lineDsSave);
  EXPECT_FLOAT_EQ(f.doc.objects.lineDsSave[0].X1, 5);
  EXPECT_EQ(f.doc.view.sngZoomPrev, 0.5f);

  // Back at 100 %, redo puts the second distance where it was drawn.
  f.doc.view.sngZoom = 1.0f;
  ASSERT_TRUE(subDisp_Object(f.doc));
  ASSERT_TRUE(Redo(f.h, f.doc));
  EXPECT_FLOAT_EQ(f.doc.objects.lineDsSave[1].X1, 40);
  EXPECT_FALSE(Checkpoint(f.h, f.doc, "none"));
}

TEST(History, OldestStepsGoBeyondTheMemoryLimit) {
  Fixture f;
  f.h.limit = 256 * 1024;
  for (int i = 0; i < 400; ++i) {
    f.Keep(static_cast<float>(i));
    Checkpoint(f.h, f.doc, "k");
  }
  EXPECT_LE(f.h.bytes, f.h.limit);
  EXPECT_GT(f.h.undo.size(), 1u);
  EXPECT_LT(f.h.undo.size(), 400u);
  // What is left still undoes exactly.
  const std::size_t n = f.h.undo.size();
  for (std::size_t i = 0; i < n; ++i) ASSERT_TRUE(Undo(f.h, f.doc));
  EXPECT_EQ(UBound(f.doc.objects.lblKyori), static_cast<int>(400 - n));
  ResetHistory(f.h, f.doc);
  EXPECT_FALSE(CanUndo(f.h));
  EXPECT_FALSE(CanRedo(f.h));
  EXPECT_EQ(f.h.bytes, 0u);
}

}  // namespace
}  // namespace planimo
