// Leader lines, numbered texts and positions, their popups' commands and
// the hover text, driven through the map's mouse dispatch.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "measure/annotations.h"
#include "measure_fixture.h"

namespace planimo::test {
namespace {

struct AnnotationFixture : MapFixture {
  MouseResult Press(float x, float y, int button = 1, bool ctrl = false) {
    return OnMapMouseDown(doc, s, {button, x, y, ctrl, false, false}, &tools);
  }
  MouseResult Drag(float x, float y, bool shift = false) {
    return OnMapMouseMove(doc, s, {1, x, y, false, shift, false}, &tools);
  }
  MouseResult Release(float x, float y, bool shift = false) {
    return OnMapMouseUp(doc, s, {1, x, y, false, shift, false}, &tools);
  }
  void Tap(float x, float y) {
    Press(x, y);
    Release(x, y);
  }
  void Leader(float x1, float y1, float x2, float y2) {
    Press(x1, y1);
    Drag(x2, y2);
    Release(x2, y2);
  }
  const LineRecord& Line(int i) const { return doc.objects.lineHikidashi[static_cast<std::size_t>(i)]; }
  CoreAnnotationTools tools;
};

class ScriptedDialog : public DialogAsker {
 public:
  DialogAnswer Ask(const std::string& prompt, const std::string& title, const std::string& unit,
                   const std::string& initial) override {
    asked.push_back({prompt, title, unit, initial});
    return answer;
  }
  DialogAnswer answer;
  std::vector<std::vector<std::string>> asked;
};

std::vector<std::string> Captions(const std::vector<TextRecord>& list) {
  std::vector<std::string> out;
  for (std::size_t i = 1; i < list.size(); ++i) out.push_back(list[i].Caption);
  return out;
}

TEST(Numbering, TextsAndPositionsCountWithTheirOwnAffixes) {
  AnnotationFixture f;
  SelectAnnotationTool(f.doc, f.s, Tool::Comment);
  for (float x : {10.0f, 20.0f, 30.0f}) f.Tap(x, 10);
  EXPECT_EQ(Captions(f.doc.objects.lblMoji), (std::vector<std::string>{"New 0 ", "New 1 ", "New 2 "}));
  const TextRecord& t = f.doc.objects.lblMoji[2];
  EXPECT_EQ(t.Left, 20);
  EXPECT_EQ(t.ForeColor, f.doc.live.lblDefault.ForeColor);
  EXPECT_EQ(t.Width, 2.0f * 6);  // sized to its caption

  // Header P- and start 10 with the position tool: positions only.
  SelectAnnotationTool(f.doc, f.s, Tool::Position);
  ScriptedDialog dlg;
  dlg.answer = {false, "P-", ""};
  AskTextHeader(f.doc, f.s, dlg);
  dlg.answer = {false, "10", "10"};
  AskSequenceStart(f.doc, f.s, dlg);
  EXPECT_EQ(dlg.asked[0], (std::vector<std::string>{"ヘッダを入力してください", "Caption ヘッダ入力", "", "0"}));
  EXPECT_EQ(dlg.asked[1][1], "Caption 初期値入力");
  f.Move(40, 12);
  f.Tap(40, 12);
  f.Tap(50, 12);
  EXPECT_EQ(Captions(f.doc.objects.lblKeiIdoS), (std::vector<std::string>{"P-10 ", "P-11 "}));
  const TextRecord& p = f.doc.objects.lblKeiIdoS[2];
  EXPECT_EQ(p.Tag, "50,12");
  EXPECT_EQ(p.ToolTipText, "X:50.0000,Y:12.0000");
  // The dialog's start text is the highest position index, whatever the tool.
  SelectAnnotationTool(f.doc, f.s, Tool::Comment);
  f.Tap(60, 10);
  EXPECT_EQ(f.doc.objects.lblMoji.back().Caption, "New 3 ");
  AskTextFooter(f.doc, f.s, dlg);
  EXPECT_EQ(dlg.asked[2], (std::vector<std::string>{"フッタを入力してください", "Caption フッタ入力", "", "2"}));
}

TEST(Numbering, CancelKeepsEmptyClearsBadStartIsRefusedLineBreaksBecomeBlanks) {
  AnnotationFixture f;
  SelectAnnotationTool(f.doc, f.s, Tool::Comment);
  ScriptedDialog dlg;
  dlg.answer = {true, "", ""};
  AskTextHeader(f.doc, f.s, dlg);
  EXPECT_EQ(f.doc.numbering.textPrefix, "New ");
  dlg.answer = {false, "", ""};
  AskTextHeader(f.doc, f.s, dlg);
  EXPECT_EQ(f.doc.numbering.textPrefix, "");
  dlg.answer = {false, "a\r\nb", ""};
  AskTextFooter(f.doc, f.s, dlg);
  EXPECT_EQ(f.doc.numbering.textSuffix, "a  b");

  struct Start {
    DialogAnswer answer;
    std::int16_t expected;
  };
  const Start starts[] = {{{false, "2.5", "2.5"}, 2},        {{false, "3.5", "3.5"}, 4},
                          {{false, "abc", ""}, 4},           {{false, "40000", "40000"}, 4},
                          {{false, "-32768", "-32768"}, -32768}, {{true, "", ""}, -32768},
                          {{false, "32767", "32767"}, 32767}};
  for (const Start& st : starts) {
    dlg.answer = st.answer;
    AskSequenceStart(f.doc, f.s, dlg);
    EXPECT_EQ(f.doc.numbering.textNumber, st.expected) << st.answer.text;
  }
  // At 32767 texts are still made and the counter stays.
  f.Tap(10, 10);
  f.Tap(20, 10);
  EXPECT_EQ(Captions(f.doc.objects.lblMoji), (std::vector<std::string>{"32767a  b ", "32767a  b "}));
  EXPECT_EQ(f.doc.numbering.textNumber, 32767);
  // The measuring tool owns no affixes: the popup commands leave them.
  SelectAnnotationTool(f.doc, f.s, Tool::Measure);
  dlg.answer = {false, "X", "X"};
  AskTextHeader(f.doc, f.s, dlg);
  EXPECT_EQ(f.doc.numbering.textPrefix, "");
}

TEST(Numbering, PositionCarriesTheMapOrGeographicPositionOfThePress) {
  AnnotationFixture f;
  SelectAnnotationTool(f.doc, f.s, Tool::Position);
  f.doc.view.sngZoom = f.doc.view.sngZoomPrev = 2;
  f.Move(1, 1);
  f.Tap(40, 24);  // pressed where the pointer was not last seen
  EXPECT_EQ(f.doc.objects.lblKeiIdoS[1].Tag, "20,12");
  EXPECT_EQ(f.doc.objects.lblKeiIdoS[1].ToolTipText, "X:40.0000,Y:24.0000");

  ProjectState& st = f.doc.state;
  st.GE_booModeDis = false;
  st.GE_booModeKei = true;
  st.GE_tpPtoK_r_X = 1;
  st.GE_tpPtoK_r_Y = 1;
  st.GE_tpPx00ToKei_Ll = 487815.5;
  st.GE_tpPx00ToKei_La = 126000;
  f.Tap(0, 0);
  EXPECT_EQ(f.doc.objects.lblKeiIdoS[2].Tag, "487815.5,126000");
  EXPECT_EQ(f.doc.objects.lblKeiIdoS[2].ToolTipText, "135-30-15.5000,035-00-00.0000");
}

TEST(Numbering, ClearAllFollowsTheToolAndKeepsTheCounter) {
  AnnotationFixture f;
  SelectAnnotationTool(f.doc, f.s, Tool::Comment);
  f.Tap(10, 10);
  f.Tap(20, 10);
  SelectAnnotationTool(f.doc, f.s, Tool::Position);
  EXPECT_EQ(TextClearAllCaption(f.s.menu), "位置情報の全消去");
  f.Tap(30, 10);
  const auto before = f.doc.revision;
  ClearAllTexts(f.doc, f.s);
  EXPECT_EQ(UBound(f.doc.objects.lblKeiIdoS), 0);
  EXPECT_EQ(UBound(f.doc.objects.lblMoji), 2);
  EXPECT_NE(f.doc.revision, before);
  SelectAnnotationTool(f.doc, f.s, Tool::Comment);
  EXPECT_EQ(TextClearAllCaption(f.s.menu), "文字列の全消去");
  ClearAllTexts(f.doc, f.s);
  EXPECT_EQ(UBound(f.doc.objects.lblMoji), 0);
  EXPECT_FALSE(f.doc.objects.lblMoji[0].Visible);
  f.Tap(10, 10);
  EXPECT_EQ(f.doc.objects.lblMoji[1].Caption, "New 2 ");
}

TEST(LeaderLines, CreateKeepsOnlyDraggedLinesInTheSampleStyle) {
  AnnotationFixture f;
  SelectTool(f.s, Tool::Leader);
  f.doc.live.linDefault.BorderWidth = 3;
  const auto rev = f.doc.revision;
  f.Press(10, 10);
  f.Release(10, 10);  // a click without drag
  f.Leader(10, 10, 11, 11);  // 1.4 mm: too short
  EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), 0);
  EXPECT_FALSE(f.Line(0).Visible);
  EXPECT_EQ(f.doc.revision, rev);

  f.Press(10, 10);
  f.Drag(40, 14, true);  // Shift: horizontal
  EXPECT_TRUE(f.Line(0).Visible);
  EXPECT_EQ(f.Line(0).Y2, 10);
  f.Release(40, 14, true);
  ASSERT_EQ(UBound(f.doc.objects.lineHikidashi), 1);
  EXPECT_EQ(f.Line(0).X2, 40);
  EXPECT_EQ(f.Line(0).Y2, 10);
  EXPECT_EQ(f.Line(0).BorderWidth, 3);
  EXPECT_FALSE(f.Line(1).Visible);
  EXPECT_NE(f.doc.revision, rev);
}

TEST(LeaderLines, SelectModeGrabsEndsAtOnceAndDragsTheBodyFreely) {
  AnnotationFixture f;
  SelectTool(f.s, Tool::Leader);
  f.Leader(10, 10, 40, 10);
  ChooseLeaderCreate(f.s, false);
  // An end moves to the press point at once, then follows with Shift.
  f.Press(41, 11);
  EXPECT_EQ(f.Line(0).X2, 41);
  EXPECT_EQ(f.Line(0).Y2, 11);
  f.Drag(50, 15, true);
  EXPECT_EQ(f.Line(0).Y2, 10);
  f.Release(50, 15);
  // The body moves by the pointer's steps, Shift or not.
  f.Press(25, 10.5f);
  f.Drag(28, 13, true);
  f.Drag(30, 17, true);
  EXPECT_EQ(f.Line(0).X1, 15);
  EXPECT_EQ(f.Line(0).Y1, 16.5f);
  EXPECT_EQ(f.Line(0).X2, 55);
  f.Release(30, 17);
  // A press beside every line grabs nothing: a drag then moves nothing.
  const LineRecord was = f.Line(0);
  f.Press(100, 100);
  f.Drag(120, 120);
  EXPECT_EQ(f.Line(0), was);
  EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), 1);
  // The right button selects the line for the edit popup, else its own popup.
  EXPECT_EQ(f.Press(35, 16.5f, 2).popups, std::vector<Popup>{Popup::Edit});
  EXPECT_EQ(f.doc.selected.strKind, "lineHikidashi");
  EXPECT_EQ(f.Press(100, 100, 2).popups, std::vector<Popup>{Popup::Hikidashi});
}

TEST(LeaderLines, ClearAllDuringADrawLeavesNoStrayLine) {
  AnnotationFixture f;
  SelectTool(f.s, Tool::Leader);
  f.Leader(10, 10, 40, 10);
  f.Press(10, 30);
  f.Drag(30, 30);
  ClearAllLeaderLines(f.doc);  // chosen from a popup while the left button is held
  f.Drag(40, 40);
  f.Release(40, 40);
  EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), 0);
  EXPECT_FALSE(f.Line(0).Visible);
  f.Leader(10, 10, 40, 10);
  EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), 1);
}

TEST(Hover, KeptLabelsAndTheSampleShowTheirText) {
  AnnotationFixture f;
  PlaceDefaultSample(f.doc);
  f.Measure(50, 50, 80, 50);
  const TextRecord& label = f.doc.objects.lblKyori[0];
  ASSERT_TRUE(label.Visible);
  EXPECT_EQ(HoverText(f.doc, label.Left + 1, label.Top + 1), label.ToolTipText);
  EXPECT_FALSE(label.ToolTipText.empty());
  EXPECT_EQ(HoverText(f.doc, 11, 11),
            "右クリックでポップアップが開きます。「表示」より非表示に設定できます。");
  f.doc.live.lblDefault.Visible = false;
  EXPECT_EQ(HoverText(f.doc, 11, 11), std::nullopt);
  EXPECT_EQ(HoverText(f.doc, 200, 200), std::nullopt);
}

}  // namespace
}  // namespace planimo::test
