#include "model/collections.h"

#include <gtest/gtest.h>

#include <string>

namespace planimo {
namespace {

LineRecord Line(const std::string& tag, float x) {
  LineRecord l;
  l.Visible = true;
  l.Tag = tag;
  l.X1 = x;
  l.BorderWidth = 5;
  l.BorderStyle = kStyleDash;
  return l;
}

// Fills the spares of one distance object and appends fresh ones, as a kept
// distance does.
void KeepDistance(Collections& o, float x) {
  const int k = UBound(o.lblKyori);
  o.lblKyori[k].Visible = true;
  o.lblKyori[k].Left = x;
  o.lineDsSave[k] = Line("", x);
  o.lineHojoSave[2 * k] = Line("", x);
  AppendSpare(o.lineHojoSave);
  o.lineHojoSave[2 * k + 1] = Line("", x + 0.5f);
  o.shpSnpo[2 * k].Visible = true;
  o.shpSnpo[2 * k].Left = x;
  AppendSpare(o.shpSnpo);
  o.shpSnpo[2 * k + 1].Visible = true;
  AppendSpare(o.lblKyori);
  AppendSpare(o.lineDsSave);
  AppendSpare(o.lineHojoSave);
  AppendSpare(o.shpSnpo);
}

TEST(Collections, StartWithOneHiddenElementEach) {
  const Collections o;
  EXPECT_EQ(o.lblKyori.size(), 1u);
  EXPECT_EQ(o.linePS.size(), 1u);
  EXPECT_EQ(o.lblKeiIdoS.size(), 1u);
  EXPECT_FALSE(o.lblKyori[0].Visible);
  EXPECT_FALSE(o.shpSnpo[0].Visible);
  EXPECT_FALSE(o.lblMoji[0].Visible);
}

TEST(AppendSpare, AddsAnInvisibleSolidOnePixelLine) {
  std::vector<LineRecord> c{Line("a", 1)};
  ASSERT_TRUE(AppendSpare(c));
  ASSERT_EQ(c.size(), 2u);
  EXPECT_FALSE(c[1].Visible);
  EXPECT_EQ(c[1].BorderStyle, kStyleSolid);
  EXPECT_EQ(c[1].BorderWidth, 1);
  EXPECT_TRUE(c[1].Tag.empty());
}

TEST(AppendSpare, MarkersTakeSizeAndFigureFromTheFirst) {
  std::vector<ShapeRecord> c(1);
  c[0].Width = c[0].Height = 3;
  c[0].Shape = 4;
  c[0].Visible = true;
  ASSERT_TRUE(AppendSpare(c));
  EXPECT_FALSE(c[1].Visible);
  EXPECT_EQ(c[1].Width, 3);
  EXPECT_EQ(c[1].Shape, 4);
}

TEST(AppendSpare, RefusedPastTheLastIndexLeavingTheCollectionAlone) {
  std::vector<LineRecord> c(kMaxIndex, Line("x", 1));  // indices 0..32766
  ASSERT_TRUE(AppendSpare(c));
  EXPECT_EQ(UBound(c), kMaxIndex);
  const std::vector<LineRecord> before = c;
  EXPECT_FALSE(AppendSpare(c));
  EXPECT_EQ(c, before);

  std::vector<TextRecord> labels(kMaxIndex + 1);
  EXPECT_FALSE(AppendSpare(labels));
  EXPECT_EQ(labels.size(), static_cast<std::size_t>(kMaxIndex) + 1);
}

TEST(RemoveAt, ClosesTheGapAndKeepsTheSpareLast) {
  std::vector<LineRecord> c{Line("a", 1), Line("b", 2), Line("c", 3)};
  AppendSpare(c);
  RemoveAt(c, 1);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].Tag, "a");
  EXPECT_EQ(c[1].Tag, "c");
  EXPECT_EQ(c[1].BorderWidth, 5);  // every field moved down with it
  EXPECT_FALSE(c[2].Visible);
}

TEST(RemoveAt, OnlyElementIsHiddenNotUnloaded) {
  std::vector<TextRecord> c(1);
  c[0].Visible = true;
  c[0].Caption = "x";
  RemoveAt(c, 0);
  ASSERT_EQ(c.size(), 1u);
  EXPECT_FALSE(c[0].Visible);
}

TEST(RemoveAt, OutOfRangeIndexChangesNothing) {
  std::vector<LineRecord> c{Line("a", 1)};
  AppendSpare(c);
  RemoveAt(c, -1);
  RemoveAt(c, 2);
  EXPECT_EQ(c.size(), 2u);
}

TEST(RemoveDistanceObject, OnlyObjectLeavesTheSparesAndARefillReusesIndexZero) {
  Collections o;
  KeepDistance(o, 10);
  ASSERT_EQ(o.lblKyori.size(), 2u);
  ASSERT_EQ(o.lineHojoSave.size(), 3u);
  ASSERT_EQ(o.shpSnpo.size(), 3u);

  RemoveDistanceObject(o, 0);
  ASSERT_EQ(o.lblKyori.size(), 1u);
  ASSERT_EQ(o.lineDsSave.size(), 1u);
  ASSERT_EQ(o.lineHojoSave.size(), 1u);
  ASSERT_EQ(o.shpSnpo.size(), 1u);
  EXPECT_FALSE(o.lblKyori[0].Visible);
  EXPECT_FALSE(o.lineDsSave[0].Visible);
  EXPECT_FALSE(o.lineHojoSave[0].Visible);
  EXPECT_FALSE(o.shpSnpo[0].Visible);

  KeepDistance(o, 20);
  EXPECT_TRUE(o.lblKyori[0].Visible);
  EXPECT_EQ(o.lineHojoSave[1].X1, 20.5f);
  EXPECT_EQ(o.lineHojoSave.size(), 3u);
  EXPECT_EQ(o.shpSnpo.size(), 3u);
}

TEST(RemoveDistanceObject, MiddleObjectTakesAllFivePartsAndKeepsTheOthersPaired) {
  Collections o;
  for (float x : {1.0f, 2.0f, 3.0f}) KeepDistance(o, x);
  RemoveDistanceObject(o, 1);
  ASSERT_EQ(o.lblKyori.size(), 3u);
  ASSERT_EQ(o.lineHojoSave.size(), 5u);
  ASSERT_EQ(o.shpSnpo.size(), 5u);
  EXPECT_EQ(o.lblKyori[1].Left, 3);
  EXPECT_EQ(o.lineDsSave[1].X1, 3);
  EXPECT_EQ(o.lineHojoSave[2].X1, 3);
  EXPECT_EQ(o.lineHojoSave[3].X1, 3.5f);
  EXPECT_EQ(o.shpSnpo[2].Left, 3);
  EXPECT_FALSE(o.lineHojoSave[4].Visible);
}

TEST(RemoveTagged, RemovesEverySegmentOfItsTagAndKeepsTheOthersInOrder) {
  Collections o;
  o.lblKeiroS = {TextRecord{}, TextRecord{}, TextRecord{}};
  o.lblKeiroS[0].Tag = "A";
  o.lblKeiroS[1].Tag = "B";
  o.linePS = {Line("A", 1), Line("B", 2), Line("A", 3), Line("B", 4), Line("A", 5)};
  AppendSpare(o.linePS);

  RemoveTagged(o, o.lblKeiroS, 0);
  ASSERT_EQ(o.lblKeiroS.size(), 2u);
  EXPECT_EQ(o.lblKeiroS[0].Tag, "B");
  ASSERT_EQ(o.linePS.size(), 3u);
  EXPECT_EQ(o.linePS[0].X1, 2);
  EXPECT_EQ(o.linePS[1].X1, 4);
  EXPECT_FALSE(o.linePS[2].Visible);

  RemoveTagged(o, o.lblKeiroS, 0);
  ASSERT_EQ(o.linePS.size(), 1u);
  EXPECT_FALSE(o.linePS[0].Visible);
}

TEST(RemoveTagged, EmptyTagRemovesOnlyTheLabelAndNeverTheSpare) {
  Collections o;
  o.lblMensekiS = {TextRecord{}, TextRecord{}};
  o.linePS = {Line("", 1), Line("A", 2)};
  AppendSpare(o.linePS);
  RemoveTagged(o, o.lblMensekiS, 0);
  EXPECT_EQ(o.lblMensekiS.size(), 1u);
  EXPECT_EQ(o.linePS.size(), 3u);
  EXPECT_FALSE(o.linePS.back().Visible);
}

TEST(ClearCollection, KeepsOnlyAHiddenElementZero) {
  std::vector<LineRecord> c{Line("a", 1), Line("b", 2)};
  AppendSpare(c);
  ClearCollection(c);
  ASSERT_EQ(c.size(), 1u);
  EXPECT_FALSE(c[0].Visible);

  std::vector<TextRecord> moji(4);
  moji[0].Caption = "文字列";
  ClearCollection(moji);
  ASSERT_EQ(moji.size(), 1u);
  EXPECT_EQ(moji[0].Caption, "文字列");  // the template survives
}

TEST(ClearWorkingPath, UnloadsLiveSegmentsAndHidesLiveLabels) {
  WorkingObjects live;
  live.lineMenseki = {Line("", 1), Line("", 2), Line("", 3)};
  live.lblMenseki.Visible = live.lblKeiro.Visible = true;
  ClearWorkingPath(live);
  ASSERT_EQ(live.lineMenseki.size(), 1u);
  EXPECT_FALSE(live.lineMenseki[0].Visible);
  EXPECT_FALSE(live.lblMenseki.Visible);
  EXPECT_FALSE(live.lblKeiro.Visible);
}

}  // namespace
}  // namespace planimo
