#include "model/hit_test.h"

#include <gtest/gtest.h>

#include "core/record_builders.h"

namespace planimo {
namespace {

TextRecord Box(float left, float top, float w = 10, float h = 5) {
  TextRecord l = test::ShownLabel("", left, top);
  l.Width = w;
  l.Height = h;
  return l;
}

// Every kind of label over the same square, with the spares and templates
// hidden below them.
Collections Stacked() {
  Collections o;
  o.lblKyori = {Box(0, 0), TextRecord{}};
  o.lblMensekiS = {Box(0, 0), TextRecord{}};
  o.lblKeiroS = {Box(0, 0), TextRecord{}};
  o.lblMoji = {TextRecord{}, Box(0, 0)};
  o.lblKeiIdoS = {TextRecord{}, Box(0, 0)};
  return o;
}

TEST(HitLabel, TakesTheTopMostCollectionFirst) {
  Collections o = Stacked();
  const char* order[] = {kKindKeiIdoS, kKindMoji, kKindKeiroS, kKindMensekiS, kKindKyori};
  for (const char* kind : order) {
    const LabelHit hit = HitLabel(o, 5, 2);
    ASSERT_TRUE(hit) << kind;
    EXPECT_EQ(hit.kind, kind);
    // Hide it to uncover the one below.
    std::vector<TextRecord>& c = hit.kind == kKindKeiIdoS  ? o.lblKeiIdoS
                                 : hit.kind == kKindMoji   ? o.lblMoji
                                 : hit.kind == kKindKeiroS ? o.lblKeiroS
                                 : hit.kind == kKindMensekiS ? o.lblMensekiS
                                                             : o.lblKyori;
    c[static_cast<std::size_t>(hit.index)].Visible = false;
  }
  EXPECT_FALSE(HitLabel(o, 5, 2));
}

TEST(HitLabel, LaterElementLiesOverAnEarlierOne) {
  Collections o;
  o.lblKyori = {Box(0, 0), Box(5, 0), Box(100, 100), TextRecord{}};
  EXPECT_EQ(HitLabel(o, 7, 1).index, 1);
  EXPECT_EQ(HitLabel(o, 2, 1).index, 0);
  EXPECT_EQ(HitLabel(o, 2, 1).kind, "lblkyori");
}

TEST(HitLabel, BoxEdgesAndMisses) {
  Collections o;
  o.lblKyori = {Box(10, 20, 10, 5), TextRecord{}};
  EXPECT_TRUE(HitLabel(o, 10, 20));
  EXPECT_TRUE(HitLabel(o, 19.9f, 24.9f));
  EXPECT_FALSE(HitLabel(o, 20, 22));
  EXPECT_FALSE(HitLabel(o, 15, 25));
  EXPECT_FALSE(HitLabel(o, 9.9f, 22));
}

TEST(HitLabel, SkipsHiddenElementsAndTheCommentTemplate) {
  Collections o;
  o.lblMoji = {Box(0, 0)};  // even shown by mistake, the template is no text
  o.lblKyori = {Box(0, 0)};
  o.lblKyori[0].Visible = false;
  EXPECT_FALSE(HitLabel(o, 1, 1));
  // A project read back keeps its first position at index 0.
  o.lblKeiIdoS = {Box(0, 0)};
  EXPECT_EQ(HitLabel(o, 1, 1).kind, "lblKeiIdoS");
  EXPECT_EQ(HitLabel(o, 1, 1).index, 0);
}

TEST(HitLabel, FilterLeavesOutInactiveKinds) {
  const Collections o = Stacked();
  LabelHitFilter f;
  f.keiIdoS = f.moji = false;
  EXPECT_EQ(HitLabel(o, 1, 1, f).kind, "lblKeiroS");
  f = {false, false, false, false, false};
  EXPECT_FALSE(HitLabel(o, 1, 1, f));
}

}  // namespace
}  // namespace planimo
