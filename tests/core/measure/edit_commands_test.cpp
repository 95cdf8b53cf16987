// The edit popup's commands on a drawing measured with the mouse: three
// distances, a closed square kept as an area and a route, a comment text,
// a position label and two leader lines.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "measure/annotations.h"
#include "measure/edit_commands.h"
#include "measure/label_events.h"
#include "measure/readout.h"
#include "measure_fixture.h"
#include "model/hit_test.h"
#include "model/value_tag.h"

namespace planimo::test {
namespace {

struct Scene : MapFixture {
  Scene() {
    for (int i = 0; i < 3; ++i) {
      clock->time.second = i;
      Measure(10, 10.0f + 20 * i, 40, 10.0f + 20 * i);
    }
    clock->time.second = 10;
    SelectMode(doc, s, MeasureMode::Path, nullptr);
    const float sq[][2] = {{100, 100}, {120, 100}, {120, 120}, {100, 120}, {100, 100}};
    Click(sq[0][0], sq[0][1]);
    for (int i = 1; i < 5; ++i) {
      Move(sq[i][0], sq[i][1]);
      Click(sq[i][0], sq[i][1]);
      if (i < 4) Click(sq[i][0], sq[i][1]);
    }
    SelectMode(doc, s, MeasureMode::Line, nullptr);
    CreateText(doc, 200, 10);
    PointerReadout(doc, s, 200, 40);
    CreatePosition(doc, s.readout, 200, 40);
    for (float y : {150.0f, 170.0f}) {
      LineRecord& l = doc.objects.lineHikidashi.back();
      l = {true, "", 10, y, 60, y, Rgb(0, 0, 255), 1, 1, 13};
      AppendSpare(doc.objects.lineHikidashi);
    }
  }
  void Select(const char* kind, int index) { doc.selected = {kind, static_cast<std::int16_t>(index)}; }
  int Tagged(const std::string& tag) const {
    int n = 0;
    for (const LineRecord& l : doc.objects.linePS) n += l.Visible && l.Tag == tag;
    return n;
  }
  const TextRecord& Area() const { return doc.objects.lblMensekiS[0]; }
  const TextRecord& Route() const { return doc.objects.lblKeiroS[0]; }
};

class FixedColour : public ColourChooser {
 public:
  std::optional<Colour> Choose(Colour initial) override {
    seen = initial;
    return answer;
  }
  std::optional<Colour> answer;
  Colour seen = 0;
};

TEST(EditCommands, SceneIsWhatTheTestsAssume) {
  Scene f;
  const Collections& o = f.doc.objects;
  ASSERT_EQ(UBound(o.lblKyori), 7);  // 3 distances and the square's 4 sides
  ASSERT_EQ(UBound(o.lblMensekiS), 1);
  ASSERT_EQ(UBound(o.lblKeiroS), 1);
  ASSERT_EQ(f.Tagged(f.Area().Tag), 4);
  ASSERT_EQ(f.Tagged(f.Route().Tag), 4);
  ASSERT_EQ(UBound(o.lblMoji), 1);
  ASSERT_EQ(UBound(o.lineHikidashi), 2);
}

TEST(DeleteSelected, EveryKindTakesExactlyItsParts) {
  {
    Scene f;
    const Collections& o = f.doc.objects;
    const LineRecord ext2 = o.lineHojoSave[2];
    const ShapeRecord mark5 = o.shpSnpo[5];
    const TextRecord label1 = o.lblKyori[1];
    f.Select(kKindKyori, 0);
    const auto rev = f.doc.revision;
    ASSERT_TRUE(DeleteSelected(f.doc));
    EXPECT_NE(f.doc.revision, rev);
    EXPECT_EQ(UBound(o.lblKyori), 6);
    EXPECT_EQ(o.lblKyori[0], label1);
    EXPECT_EQ(o.lineHojoSave[0], ext2);
    EXPECT_EQ(o.shpSnpo[3], mark5);
    EXPECT_EQ(o.lineHojoSave.size(), 2 * o.lblKyori.size() - 1);
    EXPECT_EQ(o.shpSnpo.size(), o.lineHojoSave.size());
    EXPECT_TRUE(f.doc.selected.strKind.empty());
    EXPECT_FALSE(DeleteSelected(f.doc)) << "nothing is selected any more";
  }
  {
    Scene f;
    // The area goes with its four segments, also after a unit change; the
    // route keeps its own.
    f.Select(kKindMensekiS, 0);
    ASSERT_TRUE(ChangeAreaUnit(f.doc, 0));
    const std::string routeTag = f.Route().Tag;
    ASSERT_TRUE(DeleteSelected(f.doc));
    EXPECT_EQ(UBound(f.doc.objects.lblMensekiS), 0);
    EXPECT_EQ(f.doc.objects.linePS.size(), 5u);
    EXPECT_EQ(f.Tagged(routeTag), 4);
    EXPECT_FALSE(f.doc.objects.linePS.back().Visible);
  }
  {
    Scene f;
    f.Select("lineHikidashi", 1);
    ASSERT_TRUE(DeleteSelected(f.doc));
    f.Select("lineHikidashi", 0);
    ASSERT_TRUE(DeleteSelected(f.doc));
    EXPECT_EQ(UBound(f.doc.objects.lineHikidashi), 0);
    EXPECT_FALSE(f.doc.objects.lineHikidashi[0].Visible);
    f.Select(kKindMoji, 1);
    ASSERT_TRUE(DeleteSelected(f.doc));
    EXPECT_EQ(UBound(f.doc.objects.lblMoji), 0);
    f.Select(kKindKeiIdoS, 1);
    ASSERT_TRUE(DeleteSelected(f.doc));
    EXPECT_EQ(UBound(f.doc.objects.lblKeiIdoS), 0);
    for (const char* kind : {kKindDefault, kKindMoji, "lineHikidashi", kKindKyori}) {
      f.Select(kind, kind == std::string(kKindKyori) ? 7 : 0);  // the spare, the template
      const auto rev = f.doc.revision;
      EXPECT_FALSE(DeleteSelected(f.doc)) << kind;
      EXPECT_EQ(f.doc.revision, rev);
    }
  }
}

TEST(ReverseSelectedDimension, MirrorsOnceAndTwiceIsIdentity) {
  Scene f;
  const Collections& o = f.doc.objects;
  const Collections before = o;
  f.Select(kKindKyori, 1);
  ASSERT_TRUE(ReverseSelectedDimension(f.doc));
  // Distance 1 runs from (10, 30) to (40, 30): its dimension crosses to the
  // other side, 15 mm the other way.
  EXPECT_FLOAT_EQ(o.lineDsSave[1].Y1, 30 - (before.lineDsSave[1].Y1 - 30));
  EXPECT_FLOAT_EQ(o.lblKyori[1].Top + o.lblKyori[1].Height / 2, o.lineDsSave[1].Y1);
  EXPECT_FLOAT_EQ(o.shpSnpo[3].Left + o.shpSnpo[3].Width / 2, o.lineHojoSave[3].X2);
  EXPECT_EQ(o.lblKyori[0], before.lblKyori[0]);
  ASSERT_TRUE(ReverseSelectedDimension(f.doc));
  EXPECT_EQ(o.lineDsSave, before.lineDsSave);
  EXPECT_EQ(o.lineHojoSave, before.lineHojoSave);
  EXPECT_EQ(o.shpSnpo, before.shpSnpo);
  for (const TextRecord& l : {o.lblKyori[1]}) {
    EXPECT_NEAR(l.Left, before.lblKyori[1].Left, 1e-4);
    EXPECT_NEAR(l.Top, before.lblKyori[1].Top, 1e-4);
  }
  f.Select(kKindKeiroS, 0);
  EXPECT_FALSE(ReverseSelectedDimension(f.doc));
}

TEST(LookCommands, EachKindAndTheSample) {
  Scene f;
  const Collections& o = f.doc.objects;
  const WorkingObjects& live = f.doc.live;
  const ShapeRecord marker = o.shpSnpo[0];
  f.Select(kKindKyori, 0);
  SetLineWidth(f.doc, 7);
  EXPECT_EQ(o.lineDsSave[0].BorderWidth, 7);
  EXPECT_EQ(o.lineHojoSave[1].BorderWidth, 7);
  EXPECT_EQ(o.lineHojoSave[2].BorderWidth, 1);
  EXPECT_EQ(o.shpSnpo[0], marker);
  EXPECT_EQ(live.linDefault.BorderWidth, 7);

  SetLineColour(f.doc, Rgb(1, 2, 3));
  EXPECT_EQ(o.shpSnpo[1].FillColor, Rgb(1, 2, 3));
  EXPECT_EQ(o.lineHojoSave[0].BorderColor, Rgb(1, 2, 3));

  // The sample alone: the next distance is dashed, the drawing is unchanged.
  f.Select(kKindDefault, 0);
  const auto unchanged = f.doc.revision;
  SetLineStyle(f.doc, kStyleDash);
  SetTextColour(f.doc, Rgb(0, 128, 0));
  EXPECT_EQ(f.doc.revision, unchanged);
  for (const LineRecord& l : o.lineDsSave) EXPECT_EQ(l.BorderStyle, kStyleSolid);
  f.Measure(10, 200, 40, 200);
  EXPECT_EQ(o.lineDsSave[UBound(o.lineDsSave) - 1].BorderStyle, kStyleDash);

  // An area's tagged segments, and no other.
  f.Select(kKindMensekiS, 0);
  SetLineStyle(f.doc, kStyleDot);
  int dotted = 0;
  for (const LineRecord& l : o.linePS) dotted += l.BorderStyle == kStyleDot;
  EXPECT_EQ(dotted, 4);

  // Text colours and label looks reach labels; a leader line takes either
  // colour as its line colour; a position label is no leader line.
  f.Select(kKindMoji, 1);
  SetTextColour(f.doc, Rgb(9, 9, 9));
  SetBackStyle(f.doc, 0);
  SetBorderStyle(f.doc, 1);
  EXPECT_EQ(o.lblMoji[1].ForeColor, Rgb(9, 9, 9));
  EXPECT_EQ(o.lblMoji[1].BackStyle, 0);
  EXPECT_EQ(o.lblMoji[1].BorderStyle, 1);
  EXPECT_EQ(live.lblDefault.BorderStyle, 1);
  f.Select("lineHikidashi", 1);
  SetBackColour(f.doc, Rgb(7, 7, 7));
  EXPECT_EQ(o.lineHikidashi[1].BorderColor, Rgb(7, 7, 7));
  EXPECT_EQ(live.lblDefault.BackColor, Rgb(7, 7, 7));
  f.Select(kKindKeiIdoS, 1);
  SetLineWidth(f.doc, 9);
  EXPECT_EQ(o.lineHikidashi[1].BorderWidth, 1);

  // Choosers: preset with the current colour, a cancel changes nothing.
  FixedColour chooser;
  f.Select(kKindMoji, 1);
  const auto rev = f.doc.revision;
  EXPECT_FALSE(ChooseTextColour(f.doc, chooser));
  EXPECT_EQ(chooser.seen, Rgb(9, 9, 9));
  EXPECT_EQ(f.doc.revision, rev);

  // Font: the label and the sample, both sized to it.
  ASSERT_TRUE(SetLabelFont(f.doc, {"Serif", 20, true, false, true, false}));
  EXPECT_EQ(o.lblMoji[1].FontName, "Serif");
  EXPECT_TRUE(o.lblMoji[1].FontStrikethru);
  EXPECT_EQ(live.lblDefault.FontSize, 20);
  EXPECT_FALSE(SetLabelFont(f.doc, {"", 20, false, false, false, false}));
}

TEST(UnitAndDecimals, CaptionAndTagFollowAndSegmentsKeepTheirLink) {
  Scene f;
  const Collections& o = f.doc.objects;
  // Distance 0 is 30 m.
  f.Select(kKindKyori, 0);
  const TextRecord before = o.lblKyori[0];
  f.clock->time = {11, 0, 0};
  EXPECT_FALSE(ChangeDistanceUnit(f.doc, 2));  // already metres
  EXPECT_EQ(o.lblKyori[0], before);
  EXPECT_FALSE(ChangeAreaUnit(f.doc, 0));      // not an area
  ASSERT_TRUE(ChangeDistanceUnit(f.doc, 1));   // cm
  EXPECT_EQ(o.lblKyori[0].Caption, " 3,000.00 cm ");
  EXPECT_EQ(o.lblKyori[0].Tag, "012:3000_110000");
  ASSERT_TRUE(ChangeDecimals(f.doc, 0));
  EXPECT_EQ(o.lblKyori[0].Caption, " 3,000 cm ");
  EXPECT_DOUBLE_EQ(ParseValueTag(o.lblKyori[0].Tag)->value, 3000);

  // 1.005 m shows 1 with no decimals; the tag keeps 1.005.
  TextRecord& l = f.doc.objects.lblKyori[1];
  l.Tag = "022:1.005_101530";
  f.Select(kKindKyori, 1);
  ASSERT_TRUE(ChangeDecimals(f.doc, 0));
  EXPECT_EQ(l.Caption, " 1 m ");
  EXPECT_DOUBLE_EQ(ParseValueTag(l.Tag)->value, 1.005);

  // The route's segments take its new tag; width still reaches them.
  f.Select(kKindKeiroS, 0);
  ASSERT_TRUE(ChangeDecimals(f.doc, 3));
  EXPECT_EQ(f.Tagged(f.Route().Tag), 4);
  EXPECT_NE(f.Route().Tag, f.Area().Tag);
  SetLineWidth(f.doc, 5);
  int wide = 0;
  for (const LineRecord& seg : o.linePS) wide += seg.BorderWidth == 5;
  EXPECT_EQ(wide, 4);
  EXPECT_FALSE(ChangeDecimals(f.doc, 7));
}

TEST(DuplicateSelected, TextsAndLeaderLinesOnly) {
  Scene f;
  const Collections& o = f.doc.objects;
  f.Select(kKindKyori, 0);
  const Collections before = o;
  EXPECT_FALSE(DuplicateSelected(f.doc));
  EXPECT_EQ(o.lblKyori, before.lblKyori);

  f.doc.objects.lblMoji[1].ToolTipText = "note";
  f.Select(kKindMoji, 1);
  ASSERT_TRUE(DuplicateSelected(f.doc));
  ASSERT_EQ(UBound(o.lblMoji), 2);
  EXPECT_EQ(o.lblMoji[2].Caption, o.lblMoji[1].Caption);
  EXPECT_EQ(o.lblMoji[2].Left, o.lblMoji[1].Left + 5);
  EXPECT_TRUE(o.lblMoji[2].ToolTipText.empty());

  f.Select("lineHikidashi", 0);
  ASSERT_TRUE(DuplicateSelected(f.doc));
  ASSERT_EQ(UBound(o.lineHikidashi), 3);
  EXPECT_EQ(o.lineHikidashi[2].Y1, o.lineHikidashi[0].Y1 + 5);
  EXPECT_TRUE(o.lineHikidashi[2].Visible);
  EXPECT_FALSE(o.lineHikidashi[3].Visible) << "the list still ends with its spare";
}

// Each command arrives while something runs: a line measurement, a path
// with one fixed segment, a known-distance pick, a leader drag. The running
// work then finishes as it would have without the command.
TEST(EditCommands, ArriveWhileWorkRuns) {
  const std::vector<std::pair<const char*, std::function<void(Document&)>>> commands = {
      {"delete distance", [](Document& d) { d.selected = {kKindKyori, 0}; DeleteSelected(d); }},
      {"delete area", [](Document& d) { d.selected = {kKindMensekiS, 0}; DeleteSelected(d); }},
      {"delete leader", [](Document& d) { d.selected = {"lineHikidashi", 0}; DeleteSelected(d); }},
      {"reverse", [](Document& d) { d.selected = {kKindKyori, 0}; ReverseSelectedDimension(d); }},
      {"unit", [](Document& d) { d.selected = {kKindKeiroS, 0}; ChangeDistanceUnit(d, 0); }},
      {"width", [](Document& d) { d.selected = {kKindKyori, 1}; SetLineWidth(d, 3); }},
      {"duplicate", [](Document& d) { d.selected = {"lineHikidashi", 1}; DuplicateSelected(d); }},
      {"clear leaders", [](Document& d) { ClearAllLeaderLines(d); }},
  };
  for (const auto& [name, command] : commands) {
    {
      Scene f;  // a line measurement running
      f.Click(300, 300);
      f.Move(330, 300);
      command(f.doc);
      const int kept = f.KeptDistances();
      f.Click(330, 300);
      ASSERT_EQ(f.KeptDistances(), kept + 1) << name;
      EXPECT_EQ(f.doc.objects.lblKyori[static_cast<std::size_t>(kept)].Caption, " 30.00 m ") << name;
      EXPECT_FALSE(f.doc.objects.lblKyori.back().Visible) << name;
    }
    {
      Scene f;  // a path with one fixed segment
      SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
      f.Click(300, 300);
      f.Move(320, 300);
      f.Click(320, 300);
      command(f.doc);
      f.Click(320, 300);
      f.Move(320, 320);
      f.Click(320, 320);
      EXPECT_FALSE(f.doc.objects.linePS.back().Visible) << name;
      EXPECT_EQ(f.doc.live.lineMenseki.size(), 3u) << name;
    }
    {
      Scene f;  // a leader drag in select mode
      CoreAnnotationTools tools;
      SelectTool(f.s, Tool::Leader);
      ChooseLeaderCreate(f.s, false);
      OnMapMouseDown(f.doc, f.s, {1, 35, 170, false, false, false}, &tools);
      command(f.doc);
      OnMapMouseMove(f.doc, f.s, {1, 45, 180, false, false, false}, &tools);
      OnMapMouseUp(f.doc, f.s, {1, 45, 180, false, false, false}, &tools);
      for (const LineRecord& l : f.doc.objects.lineHikidashi) {
        EXPECT_TRUE(std::isfinite(l.X1) && std::isfinite(l.Y2)) << name;
      }
      EXPECT_FALSE(f.doc.objects.lineHikidashi.back().Visible) << name;
    }
  }
}

}  // namespace
}  // namespace planimo::test
