#include "measure/label_events.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "geometry/number_format.h"
#include "measure/readout.h"
#include "measure_fixture.h"

namespace planimo::test {
namespace {

std::vector<TextRecord>& Labels(Document& doc, const std::string& kind) {
  Collections& o = doc.objects;
  if (kind == kKindKyori) return o.lblKyori;
  if (kind == kKindMensekiS) return o.lblMensekiS;
  if (kind == kKindKeiroS) return o.lblKeiroS;
  if (kind == kKindMoji) return o.lblMoji;
  return o.lblKeiIdoS;
}

// A visible 20 x 5 mm label of `kind` at element 1 (index 0 of the comment
// texts is their hidden template).
TextRecord& Put(Document& doc, const std::string& kind, float left = 10, float top = 10) {
  std::vector<TextRecord>& c = Labels(doc, kind);
  if (c.size() < 2) c.resize(2);
  TextRecord& l = c[1];
  l.Visible = true;
  l.Caption = "12.30 m ";
  l.ToolTipText = "tip";
  l.Left = left;
  l.Top = top;
  l.Width = 20;
  l.Height = 5;
  return l;
}

enum class ToolSetup { Measure, LeaderTool, TextNew, TextSelect, PositionNew, PositionSelect };

void Choose(MeasureSession& s, ToolSetup setup) {
  switch (setup) {
    case ToolSetup::Measure: SelectTool(s, Tool::Measure); break;
    case ToolSetup::LeaderTool: SelectTool(s, Tool::Leader); break;
    case ToolSetup::TextNew: SelectTool(s, Tool::Comment); break;
    case ToolSetup::TextSelect: SelectTool(s, Tool::Comment); ChooseTextCreate(s, false); break;
    case ToolSetup::PositionNew: SelectTool(s, Tool::Position); break;
    case ToolSetup::PositionSelect: SelectTool(s, Tool::Position); ChooseTextCreate(s, false); break;
  }
}

struct LabelFixture : MapFixture {
  LabelFixture() { doc.live.lblDefault.Visible = false; }
  std::optional<MouseResult> Press(float x, float y, int button = 1) {
    return LabelPress(doc, s, {button, x, y, false, false, false});
  }
  std::optional<MouseResult> Drag(float x, float y, int button = 1) {
    return LabelDrag(doc, s, {button, x, y, false, false, false});
  }
};

TEST(LabelPress, OnlyLabelsOfTheCheckedToolTakeThePress) {
  const std::vector<std::string> kinds = {kKindKyori, kKindMensekiS, kKindKeiroS, kKindMoji, kKindKeiIdoS};
  struct Row {
    ToolSetup setup;
    // per kind, in the order above: 'B' both buttons, 'L' only the left one
    // (in "新規作成" the first half of a double-click, so no new text is
    // made over the label), '-' neither
    std::string taken;
  };
  const Row rows[] = {
      {ToolSetup::Measure, "BBB--"},    {ToolSetup::LeaderTool, "-----"},
      {ToolSetup::TextNew, "LLLL-"},    {ToolSetup::TextSelect, "---B-"},
      {ToolSetup::PositionNew, "LLL-L"}, {ToolSetup::PositionSelect, "----B"},
  };
  for (const Row& row : rows) {
    for (std::size_t k = 0; k < kinds.size(); ++k) {
      for (int button : {1, 2}) {
        LabelFixture f;
        Choose(f.s, row.setup);
        Put(f.doc, kinds[k]);
        const bool taken = f.Press(15, 12, button).has_value();
        const bool expected = row.taken[k] == 'B' || (row.taken[k] == 'L' && button == 1);
        EXPECT_EQ(taken, expected) << kinds[k] << " setup " << static_cast<int>(row.setup) << " button " << button;
        EXPECT_EQ(f.s.labelGrab.held, taken);
        if (row.taken[k] == 'L' && button == 1) {
          // Taken, but nothing to drag: the label stays where it is.
          ASSERT_TRUE(f.Drag(25, 20));
          EXPECT_EQ(Labels(f.doc, kinds[k])[1].Left, 10);
        }
      }
    }
  }
}

TEST(LabelPress, MissesAndInactiveLabelsLeaveThePressToTheMap) {
  LabelFixture f;
  Put(f.doc, kKindKyori);
  EXPECT_FALSE(f.Press(9.9f, 12));   // just left of it
  EXPECT_FALSE(f.Press(30, 12));     // right edge is outside
  EXPECT_FALSE(f.Press(15, 12, 0));  // no button
  EXPECT_FALSE(f.Press(std::numeric_limits<float>::quiet_NaN(), 12));
  // A comment text over the distance label does not answer to the measuring
  // tool: the distance label beneath takes the press.
  Put(f.doc, kKindMoji);
  ASSERT_TRUE(f.Press(15, 12, 2));
  EXPECT_EQ(f.doc.selected.strKind, "lblkyori");
}

TEST(LabelPress, DefaultSampleAnswersAnyToolButOnlyToTheRightButton) {
  LabelFixture f;
  SelectTool(f.s, Tool::Leader);
  TextRecord& sample = f.doc.live.lblDefault;
  sample = Put(f.doc, kKindKyori);  // same box as a distance label beneath
  ASSERT_TRUE(f.Press(15, 12, 1));
  EXPECT_TRUE(f.s.labelGrab.kind.empty());
  ASSERT_TRUE(f.Drag(18, 14));
  EXPECT_EQ(sample.Left, 10);
  const std::optional<MouseResult> r = f.Press(15, 12, 2);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->popups, std::vector<Popup>{Popup::Edit});
  EXPECT_EQ(f.doc.selected.strKind, "Default");
  const EditMenuEnabled& e = f.s.menu.popEdit;
  EXPECT_FALSE(e.popEditRev || e.popEditUnitDistance || e.popEditUnitSquea || e.popEditDesiPoint ||
               e.popEditDpp || e.popEditDel);
  EXPECT_TRUE(e.popEditWidthP);  // its look can still change
  // A leader line chosen next can be duplicated and deleted again.
  LineRecord leader = f.doc.objects.lineHikidashi.back();
  leader.Visible = true;
  leader.X1 = 50, leader.Y1 = leader.Y2 = 50, leader.X2 = 80;
  f.doc.objects.lineHikidashi.insert(f.doc.objects.lineHikidashi.begin(), leader);
  ChooseLeaderCreate(f.s, false);
  EXPECT_EQ(OnMapMouseDown(f.doc, f.s, {2, 60, 50}).popups, std::vector<Popup>{Popup::Edit});
  EXPECT_EQ(f.doc.selected.strKind, "lineHikidashi");
  EXPECT_TRUE(e.popEditDpp && e.popEditDel && !e.popEditRev);
  sample.Visible = false;
  EXPECT_FALSE(f.Press(15, 12, 2));
}

TEST(LabelPress, RightPressSelectsAndSetsOnlyTheEntriesOfItsKind) {
  struct Row {
    std::string kind;
    ToolSetup setup;
    // rev, unitD, unitS, decimals, duplicate, delete after starting all false
    std::array<bool, 6> fromFalse;
    // the same after starting all true
    std::array<bool, 6> fromTrue;
  };
  const Row rows[] = {
      {kKindKyori, ToolSetup::Measure, {true, true, false, true, false, true}, {true, true, false, true, false, true}},
      {kKindMensekiS, ToolSetup::Measure, {false, false, true, true, false, true},
       {false, false, true, true, false, true}},
      {kKindKeiroS, ToolSetup::Measure, {false, true, false, true, false, true}, {false, true, false, true, false, true}},
      {kKindMoji, ToolSetup::TextSelect, {false, false, false, false, true, true}, {false, true, true, true, true, true}},
      {kKindKeiIdoS, ToolSetup::PositionSelect, {false, false, false, false, false, true},
       {false, true, true, true, true, true}},
  };
  for (const Row& row : rows) {
    for (bool start : {false, true}) {
      LabelFixture f;
      Choose(f.s, row.setup);
      Put(f.doc, row.kind);
      EditMenuEnabled& e = f.s.menu.popEdit;
      e.popEditRev = e.popEditUnitDistance = e.popEditUnitSquea = e.popEditDesiPoint = e.popEditDpp =
          e.popEditDel = start;
      const std::optional<MouseResult> r = f.Press(15, 12, 2);
      ASSERT_TRUE(r) << row.kind;
      EXPECT_EQ(r->popups, std::vector<Popup>{Popup::Edit});
      EXPECT_EQ(f.doc.selected.strKind, row.kind);
      EXPECT_EQ(f.doc.selected.intIndex, 1);
      const std::array<bool, 6> got = {e.popEditRev, e.popEditUnitDistance, e.popEditUnitSquea,
                                       e.popEditDesiPoint, e.popEditDpp, e.popEditDel};
      EXPECT_EQ(got, start ? row.fromTrue : row.fromFalse) << row.kind << " from " << start;
      EXPECT_TRUE(f.s.labelGrab.kind.empty());  // a right press drags nothing
    }
  }
}

TEST(LabelDrag, LabelFollowsThePointerByItsDeltaAtAnyZoom) {
  for (float zoom : {1.0f, 0.5f, 2.0f}) {
    LabelFixture f;
    f.doc.view.sngZoom = f.doc.view.sngZoomPrev = zoom;
    TextRecord& l = Put(f.doc, kKindKyori);
    ASSERT_TRUE(f.Press(12.5f, 11));
    ASSERT_TRUE(f.Drag(15.5f, 9));
    EXPECT_FLOAT_EQ(l.Left, 13);
    EXPECT_FLOAT_EQ(l.Top, 8);
    EXPECT_FALSE(f.Drag(15.5f, 9)->changed);  // no movement, no repaint
    ASSERT_TRUE(f.Drag(std::numeric_limits<float>::infinity(), 9));
    EXPECT_FLOAT_EQ(l.Left, 13);
    ASSERT_TRUE(LabelRelease(f.s));
    EXPECT_FALSE(f.Drag(30, 30));
    EXPECT_FALSE(LabelRelease(f.s));
    EXPECT_FLOAT_EQ(l.Left, 13);
  }
}

TEST(LabelDrag, StopsWhenTheToolChangesOrTheLabelIsGone) {
  LabelFixture f;
  TextRecord& l = Put(f.doc, kKindKyori);
  ASSERT_TRUE(f.Press(12, 12));
  SelectTool(f.s, Tool::Leader);
  ASSERT_TRUE(f.Drag(20, 20));  // still the label's press, but it stays put
  EXPECT_EQ(l.Left, 10);
  SelectTool(f.s, Tool::Measure);
  // Backspace on a path can take the dragged distance away: its index then
  // names the hidden spare, which stays put.
  l.Visible = false;
  const auto rev = f.doc.revision;
  EXPECT_FALSE(f.Drag(30, 30)->changed);
  EXPECT_EQ(l.Left, 10);
  EXPECT_EQ(f.doc.revision, rev);
  f.doc.objects.lblKyori.resize(1);
  EXPECT_FALSE(f.Drag(20, 20)->changed);
}

TEST(LabelDrag, MoveWithoutButtonAfterLostReleaseGoesToTheMap) {
  LabelFixture f;
  Put(f.doc, kKindKyori);
  ASSERT_TRUE(f.Press(12, 12, 2));  // the popup swallows the release
  EXPECT_FALSE(f.Drag(14, 14, 0));
  EXPECT_FALSE(f.s.labelGrab.held);
  EXPECT_FALSE(LabelRelease(f.s));
}

TEST(LabelDrag, PositionLabelTakesThePositionOfItsNewCorner) {
  LabelFixture f;
  Choose(f.s, ToolSetup::PositionSelect);
  f.doc.view.sngZoom = 0.5f;
  TextRecord& l = Put(f.doc, kKindKeiIdoS);
  ASSERT_TRUE(f.Press(12, 12));
  ASSERT_TRUE(f.Drag(14, 13));  // corner at (12, 11) view mm, (24, 22) drawing mm
  EXPECT_EQ(l.Tag, "24,22");
  EXPECT_EQ(l.ToolTipText, "X:12.0000,Y:11.0000");

  f.doc.state.GE_booModeDis = false;
  f.doc.state.GE_booModeKei = true;
  f.doc.state.GE_tpPtoK_r_X = 10;
  f.doc.state.GE_tpPtoK_r_Y = -10;
  f.doc.state.GE_tpPx00ToKei_Ll = 139.0 * 3600;
  f.doc.state.GE_tpPx00ToKei_La = 35.0 * 3600;
  ASSERT_TRUE(f.Drag(16, 13));  // corner at (14, 11), (28, 22) drawing mm
  Readout expected;
  const std::optional<std::string> text = PositionReadout(f.doc, expected, 28, 22);
  ASSERT_TRUE(text);
  EXPECT_EQ(f.s.readout.txtPict[0], *text);
  EXPECT_EQ(l.Tag, expected.positionTag);
  EXPECT_EQ(l.Tag, DoubleText(139.0 * 3600 + 280) + "," + DoubleText(35.0 * 3600 - 220));
  EXPECT_EQ(l.ToolTipText, expected.positionToolTip);
  EXPECT_EQ(text->substr(0, 3), "139");
}

class ScriptedPrompt : public PromptAsker {
 public:
  std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                 const std::string& answer) override {
    asked.push_back({prompt, title, answer});
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  std::vector<std::optional<std::string>> answers;
  std::vector<std::vector<std::string>> asked;
};

TEST(LabelDoubleClick, ValueLabelsTakeACommentWhateverTheTool) {
  for (const char* kind : {kKindKyori, kKindMensekiS, kKindKeiroS}) {
    LabelFixture f;
    SelectTool(f.s, Tool::Position);
    TextRecord& l = Put(f.doc, kind);
    ScriptedPrompt p;
    p.answers = {std::string("north wall")};
    const std::optional<MouseResult> r = LabelDoubleClick(f.doc, f.s, 15, 12, p);
    ASSERT_TRUE(r) << kind;
    EXPECT_TRUE(r->changed);
    ASSERT_EQ(p.asked.size(), 1u);
    EXPECT_EQ(p.asked[0], (std::vector<std::string>{"コメントを入力してください", "12.30 m ", "tip"}));
    EXPECT_EQ(l.ToolTipText, "north wall");
    EXPECT_EQ(l.Caption, "12.30 m ");
    EXPECT_TRUE(f.s.labelGrab.held);  // the release that follows is the label's
    for (std::optional<std::string> nothing : {std::optional<std::string>{}, std::optional<std::string>("")}) {
      p.answers = {nothing};
      EXPECT_FALSE(LabelDoubleClick(f.doc, f.s, 15, 12, p)->changed);
      EXPECT_EQ(l.ToolTipText, "north wall");
    }
  }
}

TEST(LabelDoubleClick, CommentTextAsksTextThenComment) {
  LabelFixture f;
  TextRecord& l = Put(f.doc, kKindMoji);
  ScriptedPrompt p;
  EXPECT_FALSE(LabelDoubleClick(f.doc, f.s, 15, 12, p));  // measuring tool: not the text's
  SelectTool(f.s, Tool::Comment);                           // "新規作成" is enough
  p.answers = {std::string(""), std::string("see detail A")};
  ASSERT_TRUE(LabelDoubleClick(f.doc, f.s, 15, 12, p));
  ASSERT_EQ(p.asked.size(), 2u);
  EXPECT_EQ(p.asked[0], (std::vector<std::string>{"表示文字列を入力してください", "文字列入力", "12.30 m "}));
  EXPECT_EQ(p.asked[1], (std::vector<std::string>{"コメントを入力してください", "コメント入力", "tip"}));
  EXPECT_EQ(l.Caption, "12.30 m ");
  EXPECT_EQ(l.ToolTipText, "see detail A");
  p.answers = {std::string("Gate"), std::nullopt};
  ASSERT_TRUE(LabelDoubleClick(f.doc, f.s, 15, 12, p));
  EXPECT_EQ(l.Caption, "Gate");
  EXPECT_EQ(l.Width, 8);  // sized to the new caption
  EXPECT_EQ(l.ToolTipText, "see detail A");
}

TEST(LabelDoubleClick, PositionLabelAsksItsCaptionWithTheSecondsInThePrompt) {
  LabelFixture f;
  TextRecord& l = Put(f.doc, kKindKeiIdoS);
  l.Tag = "500400,126000";
  l.ToolTipText = "139-00-00.0000,035-00-00.0000";
  ScriptedPrompt p;
  EXPECT_FALSE(LabelDoubleClick(f.doc, f.s, 15, 12, p));
  SelectTool(f.s, Tool::Position);
  p.answers = {std::string("P1")};
  ASSERT_TRUE(LabelDoubleClick(f.doc, f.s, 15, 12, p));
  ASSERT_EQ(p.asked.size(), 1u);
  EXPECT_EQ(p.asked[0][0], "経緯度（秒）:500400,126000\r\n表示文字列を入力してください");
  EXPECT_EQ(p.asked[0][1], "139-00-00.0000,035-00-00.0000 位置情報入力");
  EXPECT_EQ(p.asked[0][2], "12.30 m ");
  EXPECT_EQ(l.Caption, "P1 ");
  EXPECT_FALSE(LabelDoubleClick(f.doc, f.s, 50, 50, p));
}

}  // namespace
}  // namespace planimo::test
