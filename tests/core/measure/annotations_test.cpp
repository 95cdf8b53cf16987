// Leader lines, numbered texts and positions and their popups' commands,
// driven through the map's mouse dispatch.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "measure/abandon.h"
#include "measure/annotations.h"
#include "measure/edit_commands.h"
#include "measure/measure_keys.h"
#include "measure_fixture.h"
#include "model/history.h"

namespace planimo::test {
namespace {

struct AnnotationFixture : MapFixture {
  void Press(float x, float y, int button = 1) { last = OnMapMouseDown(doc, s, {button, x, y}, &tools); }
  void Drag(float x, float y, bool shift = false) { OnMapMouseMove(doc, s, {1, x, y, false, shift}, &tools); }
  void Release(float x, float y, bool shift = false) { OnMapMouseUp(doc, s, {1, x, y, false, shift}, &tools); }
  void Tap(float x, float y) { Press(x, y), Release(x, y); }
  const LineRecord& Line(int i) const { return doc.objects.lineHikidashi[static_cast<std::size_t>(i)]; }
  CoreAnnotationTools tools;
  MouseResult last;
};

class ScriptedDialog : public DialogAsker {
 public:
  DialogAnswer Ask(const std::string& prompt, const std::string& title, const std::string&,
                   const std::string& initial) override {
    asked.push_back(prompt + "|" + title + "|" + initial);
    return answer;
  }
  DialogAnswer answer;
  std::vector<std::string> asked;
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
  EXPECT_EQ(f.doc.objects.lblMoji[2].Width, 2.0f * 6);  // sized to its caption

  // Header P- and start 10 with the position tool: positions only; a
  // position holds where it was pressed, in drawing millimetres.
  SelectAnnotationTool(f.doc, f.s, Tool::Position);
  ScriptedDialog dlg;
  dlg.answer = {false, "P-", ""};
  AskTextHeader(f.doc, f.s, dlg);
  dlg.answer = {false, "10", "10"};
  AskSequenceStart(f.doc, f.s, dlg);
  EXPECT_EQ(dlg.asked, (std::vector<std::string>{"ヘッダを入力してください|Caption ヘッダ入力|0",
                                                 "初期値を入力してください|Caption 初期値入力|0"}));
  f.doc.view.sngZoom = f.doc.view.sngZoomPrev = 2;
  f.Move(1, 1);
  f.Tap(40, 24);
  f.Tap(50, 12);
  EXPECT_EQ(Captions(f.doc.objects.lblKeiIdoS), (std::vector<std::string>{"P-10 ", "P-11 "}));
  EXPECT_EQ(f.doc.objects.lblKeiIdoS[1].Tag, "20,12");
  EXPECT_EQ(f.doc.objects.lblKeiIdoS[1].ToolTipText, "X:40.0000,Y:24.0000");

  // Clear-all takes the active tool's list and keeps its counter.
  EXPECT_EQ(TextClearAllCaption(f.s.menu), "位置情報の全消去");
  ClearAllTexts(f.doc, f.s);
  EXPECT_EQ(UBound(f.doc.objects.lblKeiIdoS), 0);
  SelectAnnotationTool(f.doc, f.s, Tool::Comment);
  EXPECT_EQ(TextClearAllCaption(f.s.menu), "文字列の全消去");
  ClearAllTexts(f.doc, f.s);
  EXPECT_FALSE(f.doc.objects.lblMoji[0].Visible);
  f.Tap(60, 10);
  EXPECT_EQ(Captions(f.doc.objects.lblMoji), std::vector<std::string>{"New 3 "});

  // In the lat/long calibration a position holds longitude and latitude.
  SelectAnnotationTool(f.doc, f.s, Tool::Position);
  ProjectState& st = f.doc.state;
  st.GE_booModeDis = false;
  st.GE_booModeKei = true;
  st.GE_tpPtoK_r_X = st.GE_tpPtoK_r_Y = 1;
  st.GE_tpPx00ToKei_Ll = 487815.5;
  st.GE_tpPx00ToKei_La = 126000;
  f.Tap(0, 0);
  EXPECT_EQ(f.doc.objects.lblKeiIdoS[1].Tag, "487815.5,126000");
  EXPECT_EQ(f.doc.objects.lblKeiIdoS[1].ToolTipText, "135-30-15.5000,035-00-00.0000");
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
  dlg.answer = {false, "a\r\nb", ""};
  AskTextFooter(f.doc, f.s, dlg);
  // start answer -> counter: halves to even, out of range or text refused
  const std::pair<DialogAnswer, int> starts[] = {{{false, "2.5", "2.5"}, 2},   {{false, "3.5", "3.5"}, 4},
                                                 {{false, "abc", ""}, 4},      {{false, "40000", "40000"}, 4},
                                                 {{true, "", ""}, 4},          {{false, "32767", "32767"}, 32767}};
  for (const auto& [answer, expected] : starts) {
    dlg.answer = answer;
    AskSequenceStart(f.doc, f.s, dlg);
    EXPECT_EQ(f.doc.numbering.textNumber, expected) << answer.text;
  }
  // At 32767 texts are still made and the counter stays.
  f.Tap(10, 10);
  f.Tap(20, 10);
  EXPECT_EQ(Captions(f.doc.objects.lblMoji), (std::vector<std::string>{"32767a  b ", "32767a  b "}));
  EXPECT_EQ(f.doc.numbering.textNumber, 32767);
}

TEST(LeaderLines, DrawGrabDragAndClear) {
  AnnotationFixture f;
  SelectTool(f.s, Tool::Leader);
  f.doc.live.linDefault.BorderWidth = 3;
  const auto rev = f.doc.revision;
  f.Tap(10, 10);  // a click without drag, then a too short line
  f.Press(10, 10), f.Drag(11, 11), f.Release(11, 11);
  EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), 0);
  EXPECT_FALSE(f.Line(0).Visible);
  EXPECT_EQ(f.doc.revision, rev);
  f.Press(10, 10), f.Drag(40, 14, true), f.Release(40, 14, true);  // Shift: horizontal
  ASSERT_EQ(UBound(f.doc.objects.lineHikidashi), 1);
  EXPECT_EQ(f.Line(0), (LineRecord{true, "", 10, 10, 40, 10, f.doc.live.linDefault.BorderColor, 3, 1, 13}));
  EXPECT_FALSE(f.Line(1).Visible);

  ChooseLeaderCreate(f.s, false);
  f.Press(41, 11);  // an end moves to the press at once, then follows with Shift
  EXPECT_EQ(f.Line(0).X2, 41);
  f.Drag(50, 15, true), f.Release(50, 15);
  EXPECT_EQ(f.Line(0).Y2, 10);
  f.Press(25, 10.5f), f.Drag(28, 13, true), f.Drag(30, 17, true), f.Release(30, 17);  // the body moves freely
  EXPECT_EQ(f.Line(0).X1, 15);
  EXPECT_EQ(f.Line(0).Y1, 16.5f);
  const LineRecord was = f.Line(0);
  f.Press(100, 100), f.Drag(120, 120), f.Release(120, 120);  // nothing grabbed
  EXPECT_EQ(f.Line(0), was);
  f.Press(35, 16.5f, 2);
  EXPECT_EQ(f.last.popups, std::vector<Popup>{Popup::Edit});
  EXPECT_EQ(f.doc.selected.strKind, "lineHikidashi");
  f.Press(100, 100, 2);
  EXPECT_EQ(f.last.popups, std::vector<Popup>{Popup::Hikidashi});

  // A clear-all chosen while a new line is being drawn leaves no stray line.
  ChooseLeaderCreate(f.s, true);
  f.Press(10, 30), f.Drag(30, 30);
  ClearAllLeaderLines(f.doc);
  f.Drag(40, 40), f.Release(40, 40);
  EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), 0);
  EXPECT_FALSE(f.Line(0).Visible);
}

// "消去" from the popup a right press opens in the middle of a drag: the
// rest of the drag never moves another line.
TEST(LeaderLines, DeletingDuringADragKeepsTheGrabOnItsOwnLine) {
  const struct {
    float grabY, deleteY;
  } cases[] = {{30, 30}, {50, 10}, {10, 50}};
  for (const auto& c : cases) {
    AnnotationFixture f;
    SelectTool(f.s, Tool::Leader);
    for (float y : {10.0f, 30.0f, 50.0f}) f.Press(10, y), f.Drag(40, y), f.Release(40, y);
    ChooseLeaderCreate(f.s, false);
    f.Press(25, c.grabY), f.Drag(25, c.grabY + 1);
    f.Press(25, c.deleteY, 2);
    ASSERT_EQ(f.last.popups, std::vector<Popup>{Popup::Edit});
    ASSERT_TRUE(DeleteSelected(f.doc, f.s));
    f.Drag(25, c.grabY + 5), f.Release(25, c.grabY + 5);
    std::vector<float> got, want;
    for (float y : {10.0f, 30.0f, 50.0f}) {
      if (y == c.deleteY) continue;
      want.push_back(y == c.grabY ? c.grabY + 5 : y);
    }
    for (int i = 0; i < 2; ++i) got.push_back(f.Line(i).Y1);
    EXPECT_EQ(got, want) << c.grabY << " " << c.deleteY;
  }
}

// A command that comes while a new leader line is being pulled out, and each
// checkpoint the window takes then, leaves one kept line per finished
// gesture, one undo step for it, and never a half-drawn line on the map.
TEST(LeaderLines, CommandsWhileALineIsPulledOut) {
  struct Case {
    const char* name;
    std::function<void(AnnotationFixture&)> run;
    bool kept;  // the release still keeps the line
  };
  const Case cases[] = {
      {"keyboard command", [](AnnotationFixture&) {}, true},
      {"Escape", [](AnnotationFixture& f) { EXPECT_TRUE(EscapeMeasurement(f.doc, f.s)); }, false},
      {"right press, popup took the release", [](AnnotationFixture& f) { f.Press(30, 30, 2); }, false},
      {"zoom", [](AnnotationFixture& f) { ResetDisplayMenu(f.doc, f.s); }, false},
      {"select mode, press", [](AnnotationFixture& f) {
         ChooseLeaderCreate(f.s, false);
         f.Press(100, 100);
       }, false},
  };
  for (const Case& c : cases) {
    AnnotationFixture f;
    SelectTool(f.s, Tool::Leader);
    History h;
    ResetHistory(h, f.doc);
    f.Press(10, 10), f.Drag(40, 10), f.Release(40, 10);
    ASSERT_TRUE(Checkpoint(h, f.doc, "")) << c.name;
    f.Tap(60, 60);  // a mere click is no change
    EXPECT_FALSE(Checkpoint(h, f.doc, "")) << c.name;
    const auto rev = f.doc.revision;
    f.Press(10, 30), f.Drag(30, 30);
    EXPECT_FALSE(Checkpoint(h, f.doc, "ヘルプ")) << c.name;
    EXPECT_EQ(f.doc.revision, rev) << c.name;
    c.run(f);
    EXPECT_EQ(f.Line(1).Visible, c.kept) << c.name;
    f.Release(40, 30);
    Checkpoint(h, f.doc, "");
    EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), c.kept ? 2 : 1) << c.name;
    EXPECT_EQ(h.undo.size(), c.kept ? 2u : 1u) << c.name;
    while (Undo(h, f.doc)) {
    }
    EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), 0) << c.name;
    EXPECT_FALSE(f.Line(0).Visible) << c.name;
  }
}

TEST(Hover, KeptLabelsAndTheSampleShowTheirText) {
  AnnotationFixture f;
  PlaceDefaultSample(f.doc);
  f.Measure(50, 50, 80, 50);
  const TextRecord& label = f.doc.objects.lblKyori[0];
  EXPECT_EQ(HoverText(f.doc, label.Left + 1, label.Top + 1), f.s.readout.txtPict[3]);
  EXPECT_EQ(HoverText(f.doc, 11, 11), "右クリックでポップアップが開きます。「表示」より非表示に設定できます。");
  f.doc.live.lblDefault.Visible = false;
  EXPECT_EQ(HoverText(f.doc, 11, 11), std::nullopt);
}

}  // namespace
}  // namespace planimo::test
