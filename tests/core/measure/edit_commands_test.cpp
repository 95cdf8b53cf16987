// The edit popup's commands on a drawing measured with the mouse: three
// distances, a closed square kept as an area and a route (and its four
// sides as distances), a comment text, a position label, two leader lines.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "measure/annotations.h"
#include "measure/edit_commands.h"
#include "measure/edit_marks.h"
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
    CreatePosition(doc, s.readout, 200, 40);
    for (float y : {150.0f, 170.0f}) {
      doc.objects.lineHikidashi.back() = {true, "", 10, y, 60, y, Rgb(0, 0, 255), 1, 1, 13};
      AppendSpare(doc.objects.lineHikidashi);
    }
  }
  void Select(const char* kind, int index) { doc.selected = {kind, static_cast<std::int16_t>(index)}; }
  int Tagged(const std::string& tag) const { return test::Tagged(doc.objects, tag); }
  const TextRecord& Area() const { return doc.objects.lblMensekiS[0]; }
  const TextRecord& Route() const { return doc.objects.lblKeiroS[0]; }
};

TEST(DeleteSelected, EveryKindTakesExactlyItsParts) {
  Scene f;
  const Collections& o = f.doc.objects;
  ASSERT_EQ(UBound(o.lblKyori), 7);
  ASSERT_EQ(f.Tagged(f.Area().Tag), 4);
  const Collections before = o;
  f.Select(kKindKyori, 0);
  ASSERT_TRUE(DeleteSelected(f.doc));  // distance 0 of 3: 1 and 2 move down with their parts
  EXPECT_EQ(o.lblKyori[0], before.lblKyori[1]);
  EXPECT_EQ(o.lineHojoSave[0], before.lineHojoSave[2]);
  EXPECT_EQ(o.shpSnpo[3], before.shpSnpo[5]);
  EXPECT_EQ(o.lineHojoSave.size(), 2 * o.lblKyori.size() - 1);
  EXPECT_EQ(o.shpSnpo.size(), o.lineHojoSave.size());
  EXPECT_FALSE(DeleteSelected(f.doc)) << "the selection went with the object";

  // The area goes with its four segments, also after a unit change; the
  // route keeps its own.
  f.Select(kKindMensekiS, 0);
  ASSERT_TRUE(ChangeAreaUnit(f.doc, 0));
  ASSERT_TRUE(DeleteSelected(f.doc));
  EXPECT_EQ(UBound(o.lblMensekiS), 0);
  EXPECT_EQ(o.linePS.size(), 5u);
  EXPECT_EQ(f.Tagged(f.Route().Tag), 4);

  for (int i : {1, 0}) {
    f.Select("lineHikidashi", i);
    ASSERT_TRUE(DeleteSelected(f.doc));
  }
  EXPECT_EQ(UBound(o.lineHikidashi), 0);
  EXPECT_FALSE(o.lineHikidashi[0].Visible);
  f.Select(kKindMoji, 1);
  ASSERT_TRUE(DeleteSelected(f.doc));
  f.Select(kKindKeiIdoS, 1);
  ASSERT_TRUE(DeleteSelected(f.doc));
  EXPECT_EQ(UBound(o.lblMoji) + UBound(o.lblKeiIdoS), 0);
  // Nothing to delete: the sample, a template, a spare.
  const auto rev = f.doc.revision;
  for (const auto& [kind, index] : {std::pair{kKindDefault, 0}, {kKindMoji, 0}, {kKindKyori, 6}}) {
    f.Select(kind, index);
    EXPECT_FALSE(DeleteSelected(f.doc)) << kind;
  }
  EXPECT_EQ(f.doc.revision, rev);
}

TEST(ReverseSelectedDimension, MirrorsOnceAndTwiceIsIdentity) {
  Scene f;
  const Collections& o = f.doc.objects;
  const Collections before = o;
  f.Select(kKindKyori, 1);
  ASSERT_TRUE(ReverseSelectedDimension(f.doc));
  // Distance 1 lies on y = 30: its dimension crosses to the other side.
  EXPECT_FLOAT_EQ(o.lineDsSave[1].Y1, 60 - before.lineDsSave[1].Y1);
  EXPECT_FLOAT_EQ(o.lblKyori[1].Top + o.lblKyori[1].Height / 2, o.lineDsSave[1].Y1);
  EXPECT_FLOAT_EQ(o.shpSnpo[3].Left + o.shpSnpo[3].Width / 2, o.lineHojoSave[3].X2);
  ASSERT_TRUE(ReverseSelectedDimension(f.doc));
  EXPECT_EQ(o.lineDsSave, before.lineDsSave);
  EXPECT_EQ(o.lineHojoSave, before.lineHojoSave);
  EXPECT_EQ(o.shpSnpo, before.shpSnpo);
  EXPECT_NEAR(o.lblKyori[1].Top, before.lblKyori[1].Top, 1e-4);
  f.Select(kKindKeiroS, 0);
  EXPECT_FALSE(ReverseSelectedDimension(f.doc));
}

TEST(LookCommands, EachKindAndTheSample) {
  Scene f;
  const Collections& o = f.doc.objects;
  const WorkingObjects& live = f.doc.live;
  const ShapeRecord marker = o.shpSnpo[0];
  f.Select(kKindKyori, 0);
  SetLineWidth(f.doc, 7);  // dimension and extension lines, not the markers
  EXPECT_EQ(std::vector<int>({o.lineDsSave[0].BorderWidth, o.lineHojoSave[1].BorderWidth,
                              o.lineHojoSave[2].BorderWidth, live.linDefault.BorderWidth}),
            std::vector<int>({7, 7, 1, 7}));
  EXPECT_EQ(o.shpSnpo[0], marker);
  SetLineColour(f.doc, Rgb(1, 2, 3));  // markers too
  EXPECT_EQ(o.shpSnpo[1].FillColor, Rgb(1, 2, 3));

  // The sample alone: the next distance is dashed, the drawing unchanged.
  f.Select(kKindDefault, 0);
  const auto unchanged = f.doc.revision;
  SetLineStyle(f.doc, kStyleDash);
  EXPECT_EQ(f.doc.revision, unchanged);
  for (const LineRecord& l : o.lineDsSave) EXPECT_EQ(l.BorderStyle, kStyleSolid);
  f.Measure(10, 200, 40, 200);
  EXPECT_EQ(o.lineDsSave[UBound(o.lineDsSave) - 1].BorderStyle, kStyleDash);

  // An area's own segments; a text's label looks; a leader line takes a text
  // colour as its line colour; a position label is no leader line.
  f.Select(kKindMensekiS, 0);
  SetLineStyle(f.doc, kStyleDot);
  int dotted = 0;
  for (const LineRecord& l : o.linePS) dotted += l.BorderStyle == kStyleDot;
  EXPECT_EQ(dotted, 4);
  f.Select(kKindMoji, 1);
  SetTextColour(f.doc, Rgb(9, 9, 9));
  SetBackStyle(f.doc, 0);
  SetBorderStyle(f.doc, 1);
  ASSERT_TRUE(SetLabelFont(f.doc, {"Serif", 20, true, false, true, false}));
  EXPECT_EQ(o.lblMoji[1].ForeColor, Rgb(9, 9, 9));
  EXPECT_EQ(o.lblMoji[1].BackStyle * 10 + o.lblMoji[1].BorderStyle, 1);
  EXPECT_TRUE(o.lblMoji[1].FontStrikethru);
  EXPECT_EQ(live.lblDefault.FontName, "Serif");
  EXPECT_EQ(live.lblDefault.BorderStyle, 1);
  f.Select("lineHikidashi", 1);
  SetBackColour(f.doc, Rgb(7, 7, 7));
  EXPECT_EQ(o.lineHikidashi[1].BorderColor, Rgb(7, 7, 7));
  f.Select(kKindKeiIdoS, 1);
  SetLineWidth(f.doc, 9);
  EXPECT_EQ(o.lineHikidashi[1].BorderWidth, 1);
}

TEST(UnitAndDecimals, CaptionAndTagFollowAndSegmentsKeepTheirLink) {
  Scene f;
  const Collections& o = f.doc.objects;
  f.Select(kKindKyori, 0);  // 30 m
  const TextRecord before = o.lblKyori[0];
  f.clock->time = {11, 0, 0};
  EXPECT_FALSE(ChangeDistanceUnit(f.doc, 2));  // already metres
  EXPECT_FALSE(ChangeAreaUnit(f.doc, 0));      // not an area
  EXPECT_EQ(o.lblKyori[0], before);
  ASSERT_TRUE(ChangeDistanceUnit(f.doc, 1));
  EXPECT_EQ(o.lblKyori[0].Caption, " 3,000.00 cm ");
  EXPECT_EQ(o.lblKyori[0].Tag, "012:3000_110000");

  // 1.005 m with no decimals shows 1; the tag keeps 1.005.
  f.doc.objects.lblKyori[1].Tag = "022:1.005_101530";
  f.Select(kKindKyori, 1);
  ASSERT_TRUE(ChangeDecimals(f.doc, 0));
  EXPECT_EQ(o.lblKyori[1].Caption, " 1 m ");
  EXPECT_DOUBLE_EQ(ParseValueTag(o.lblKyori[1].Tag)->value, 1.005);

  // The route's segments take its new tag: width still reaches them.
  f.Select(kKindKeiroS, 0);
  ASSERT_TRUE(ChangeDecimals(f.doc, 3));
  EXPECT_EQ(f.Tagged(f.Route().Tag), 4);
  EXPECT_NE(f.Route().Tag, f.Area().Tag);
  SetLineWidth(f.doc, 5);
  int wide = 0;
  for (const LineRecord& seg : o.linePS) wide += seg.BorderWidth == 5;
  EXPECT_EQ(wide, 4);
}

// The unit and decimals submenus mark what the selected label shows, after
// a change too; a selection without a readable value marks nothing.
TEST(UnitAndDecimals, SubmenusMarkWhatTheSelectedLabelShows) {
  Scene f;
  f.Select(kKindKyori, 0);
  ASSERT_TRUE(ChangeDistanceUnit(f.doc, 1));
  ASSERT_TRUE(ChangeDecimals(f.doc, 4));
  f.Select(kKindMensekiS, 0);
  ASSERT_TRUE(ChangeAreaUnit(f.doc, 5));
  f.doc.objects.lblKyori[2].Tag = "damaged";
  const struct {
    const char* kind;
    int index;
    std::optional<int> distance, area, decimals;
  } cases[] = {
      {kKindKyori, 0, 1, {}, 4},     {kKindKyori, 1, 2, {}, 2},  {kKindMensekiS, 0, {}, 5, 2},
      {kKindKeiroS, 0, 2, {}, 2},    {kKindKyori, 2, {}, {}, {}}, {kKindKyori, 99, {}, {}, {}},
      {kKindMoji, 1, {}, {}, {}},    {kKindKeiIdoS, 1, {}, {}, {}}, {kKindLeader, 0, {}, {}, {}},
      {kKindDefault, 0, {}, {}, {}},
  };
  for (const auto& c : cases) {
    f.Select(c.kind, c.index);
    const ValueMarks m = SelectedValueMarks(f.doc);
    EXPECT_EQ(m.distanceUnit, c.distance) << c.kind << c.index;
    EXPECT_EQ(m.areaUnit, c.area) << c.kind << c.index;
    EXPECT_EQ(m.decimals, c.decimals) << c.kind << c.index;
  }
}

TEST(DuplicateSelected, TextsAndLeaderLinesOnly) {
  Scene f;
  const Collections& o = f.doc.objects;
  f.Select(kKindKyori, 0);
  EXPECT_FALSE(DuplicateSelected(f.doc));
  EXPECT_EQ(UBound(o.lblKyori), 7);
  f.doc.objects.lblMoji[1].ToolTipText = "note";
  f.Select(kKindMoji, 1);
  ASSERT_TRUE(DuplicateSelected(f.doc));
  EXPECT_EQ(o.lblMoji[2].Caption, o.lblMoji[1].Caption);
  EXPECT_EQ(o.lblMoji[2].Left, o.lblMoji[1].Left + 5);
  EXPECT_TRUE(o.lblMoji[2].ToolTipText.empty());
  f.Select("lineHikidashi", 0);
  ASSERT_TRUE(DuplicateSelected(f.doc));
  EXPECT_EQ(o.lineHikidashi[2].Y1, o.lineHikidashi[0].Y1 + 5);
  EXPECT_TRUE(o.lineHikidashi[2].Visible);
  EXPECT_FALSE(o.lineHikidashi[3].Visible) << "the list still ends with its spare";
}

// Each command arrives while something runs: a line measurement, a path
// with one fixed segment, a leader drag. The running work then finishes as
// it would have without the command.
TEST(EditCommands, ArriveWhileWorkRuns) {
  const std::vector<std::pair<const char*, std::function<void(Document&)>>> commands = {
      {"delete distance", [](Document& d) { d.selected = {kKindKyori, 0}, DeleteSelected(d); }},
      {"delete area", [](Document& d) { d.selected = {kKindMensekiS, 0}, DeleteSelected(d); }},
      {"delete leader", [](Document& d) { d.selected = {"lineHikidashi", 0}, DeleteSelected(d); }},
      {"reverse", [](Document& d) { d.selected = {kKindKyori, 0}, ReverseSelectedDimension(d); }},
      {"unit", [](Document& d) { d.selected = {kKindKeiroS, 0}, ChangeDistanceUnit(d, 0); }},
      {"duplicate", [](Document& d) { d.selected = {"lineHikidashi", 1}, DuplicateSelected(d); }},
      {"clear leaders", [](Document& d) { ClearAllLeaderLines(d); }},
  };
  for (const auto& [name, command] : commands) {
    Scene line;
    line.Click(300, 300);
    line.Move(330, 300);
    command(line.doc);
    const int kept = line.KeptDistances();
    line.Click(330, 300);
    ASSERT_EQ(line.KeptDistances(), kept + 1) << name;
    EXPECT_EQ(line.doc.objects.lblKyori[static_cast<std::size_t>(kept)].Caption, " 30.00 m ") << name;

    Scene path;
    SelectMode(path.doc, path.s, MeasureMode::Path, nullptr);
    path.Measure(300, 300, 320, 300);
    command(path.doc);
    path.Click(320, 300);
    path.Move(320, 320);
    path.Click(320, 320);
    EXPECT_EQ(path.doc.live.lineMenseki.size(), 3u) << name;
    EXPECT_FALSE(path.doc.objects.linePS.back().Visible) << name;

    Scene drag;
    CoreAnnotationTools tools;
    SelectTool(drag.s, Tool::Leader);
    ChooseLeaderCreate(drag.s, false);
    OnMapMouseDown(drag.doc, drag.s, {1, 35, 170}, &tools);
    command(drag.doc);
    OnMapMouseMove(drag.doc, drag.s, {1, 45, 180}, &tools);
    OnMapMouseUp(drag.doc, drag.s, {1, 45, 180}, &tools);
    EXPECT_FALSE(drag.doc.objects.lineHikidashi.back().Visible) << name;
  }
}

}  // namespace
}  // namespace planimo::test
