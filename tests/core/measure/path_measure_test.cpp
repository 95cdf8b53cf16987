#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "measure/dispatcher.h"
#include "measure_fixture.h"
#include "model/value_tag.h"

namespace planimo::test {
namespace {

using Points = std::vector<std::pair<float, float>>;

// Draws the path as a user does: the click at a vertex fixes the segment
// that follows the pointer, the next click there starts the following one.
// The last click may close the path onto an earlier vertex.
void DrawPath(MapFixture& f, const Points& pts) {
  f.Click(pts[0].first, pts[0].second);
  for (std::size_t i = 1; i < pts.size(); ++i) {
    f.Move(pts[i].first, pts[i].second);
    f.Click(pts[i].first, pts[i].second);
    if (i + 1 < pts.size()) f.Click(pts[i].first, pts[i].second);
  }
}

struct PathFixture : MapFixture {
  PathFixture() { SelectMode(doc, s, MeasureMode::Path, nullptr); }
};

TEST(PathMeasure, SquareClosedBySnapEitherDirection) {
  for (const Points& square :
       {Points{{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}},
        Points{{10, 10}, {10, 20}, {20, 20}, {20, 10}, {10.5f, 11}}}) {
    PathFixture f;
    DrawPath(f, square);
    const Collections& o = f.doc.objects;
    ASSERT_EQ(UBound(o.lblMensekiS), 1);
    EXPECT_EQ(o.lblMensekiS[0].Caption, " 100.00 m2 ");
    EXPECT_DOUBLE_EQ(TagValue(o.lblMensekiS[0]), 100);
    ASSERT_EQ(UBound(o.lblKeiroS), 1);
    // The snapped last segment ends on vertex 0 and counts in the route.
    EXPECT_DOUBLE_EQ(TagValue(o.lblKeiroS[0]), 40);
    EXPECT_EQ(Tagged(o, o.lblMensekiS[0].Tag), 4);
    EXPECT_EQ(Tagged(o, o.lblKeiroS[0].Tag), 4);
    EXPECT_NE(o.lblMensekiS[0].Tag, o.lblKeiroS[0].Tag);
    // Four segments kept as distances, the last one updated onto the vertex.
    EXPECT_EQ(f.KeptDistances(), 4);
    EXPECT_EQ(o.lblKyori[3].Caption, " 10.00 m ");
    EXPECT_FALSE(f.s.flags.booPathStarted);
    EXPECT_FALSE(f.s.flags.Running());
    EXPECT_FALSE(f.doc.live.shpSnap.Visible);
  }
}

TEST(PathMeasure, CloseByCommandCountsTheClosingSegment) {
  PathFixture f;
  DrawPath(f, {{10, 10}, {20, 10}, {20, 20}, {10, 20}});
  EXPECT_EQ(f.KeptDistances(), 3);
  ASSERT_TRUE(CommandCloseArea(f.doc, f.s));
  const Collections& o = f.doc.objects;
  EXPECT_DOUBLE_EQ(TagValue(o.lblMensekiS[0]), 100);
  EXPECT_DOUBLE_EQ(TagValue(o.lblKeiroS[0]), 40);
  EXPECT_EQ(Tagged(o, o.lblMensekiS[0].Tag), 4);
  EXPECT_EQ(Tagged(o, o.lblKeiroS[0].Tag), 4);
  EXPECT_EQ(f.KeptDistances(), 4);
  // A finished path is not closed a second time.
  ASSERT_TRUE(CommandCloseArea(f.doc, f.s));
  EXPECT_EQ(UBound(o.lblMensekiS), 1);
}

// Route length, then the area of the same outline: with "距離情報を残す"
// off the route leaves the path in place for "面積計算"; once the area shows,
// the outline is not closed and kept a second time.
TEST(PathMeasure, AreaAfterRouteOfTheSameOutline) {
  PathFixture f;
  TogglePutSen(f.s);
  DrawPath(f, {{10, 10}, {20, 10}, {20, 20}, {10, 20}});
  ASSERT_TRUE(CommandFinishRoute(f.doc, f.s));
  EXPECT_EQ(f.doc.live.lblKeiro.Caption, " 30.00 m ");
  ASSERT_TRUE(CommandCloseArea(f.doc, f.s));
  const Collections& o = f.doc.objects;
  ASSERT_EQ(UBound(o.lblMensekiS), 1);
  EXPECT_DOUBLE_EQ(TagValue(o.lblMensekiS[0]), 100);
  EXPECT_EQ(f.doc.live.lblKeiro.Caption, " 40.00 m ");
  ASSERT_TRUE(CommandCloseArea(f.doc, f.s));
  EXPECT_EQ(UBound(o.lblMensekiS), 1);
  // The next click starts a new path.
  f.Click(50, 50);
  EXPECT_EQ(f.doc.live.lineMenseki.size(), 1u);
  EXPECT_FALSE(f.doc.live.lblMenseki.Visible);
}

// A release that closes the path onto vertex 0 leaves the last segment's
// dimension exactly as measuring that segment to vertex 0 directly does: on
// the side its direction gives (here the left-running one, not the upper).
TEST(PathMeasure, ClosingReleaseKeepsTheSideOfTheLastSegment) {
  PathFixture closing, direct;
  direct.doc.state.GE_booSnap = false;
  DrawPath(closing, {{10, 10}, {30, 10}, {30, 30}, {11, 29}, {10.5f, 11}});
  DrawPath(direct, {{10, 10}, {30, 10}, {30, 30}, {11, 29}, {10, 10}});
  const Collections& a = closing.doc.objects;
  const Collections& b = direct.doc.objects;
  ASSERT_EQ(UBound(a.lblMensekiS), 1);
  ASSERT_EQ(closing.KeptDistances(), 4);
  ASSERT_EQ(direct.KeptDistances(), 4);
  for (std::size_t i : {6u, 7u}) {
    EXPECT_EQ(a.lineHojoSave[i], b.lineHojoSave[i]) << i;
    EXPECT_EQ(a.shpSnpo[i], b.shpSnpo[i]) << i;
  }
  EXPECT_EQ(a.lineDsSave[3], b.lineDsSave[3]);
  EXPECT_EQ(a.lblKyori[3].Caption, b.lblKyori[3].Caption);
  EXPECT_EQ(a.lblKyori[3].Left, b.lblKyori[3].Left);
  EXPECT_EQ(a.lblKyori[3].Top, b.lblKyori[3].Top);
}

TEST(PathMeasure, FiveVerticesClosedOntoVertexTwo) {
  PathFixture f;
  DrawPath(f, {{0, 0}, {40, 0}, {40, 40}, {20, 60}, {0, 40}, {40, 40}});
  const Collections& o = f.doc.objects;
  ASSERT_EQ(UBound(o.lblMensekiS), 1);
  // Polygon 0,1,2,3,4,2 closed back to 0 (shoelace over the six points).
  EXPECT_DOUBLE_EQ(TagValue(o.lblMensekiS[0]), 1200);
  EXPECT_EQ(Tagged(o, o.lblMensekiS[0].Tag), 5);
  const LineRecord& last = o.linePS[4];
  EXPECT_EQ(last.X2, 40);
  EXPECT_EQ(last.Y2, 40);
}

TEST(PathMeasure, SecondSegmentBackOntoStartGivesZero) {
  PathFixture f;
  DrawPath(f, {{10, 10}, {30, 10}, {10, 10}});
  EXPECT_DOUBLE_EQ(TagValue(f.doc.objects.lblMensekiS[0]), 0);
}

TEST(PathMeasure, NoClosingWithoutSnap) {
  PathFixture f;
  f.doc.state.GE_booSnap = false;
  DrawPath(f, {{10, 10}, {20, 10}, {20, 20}, {10, 10}});
  EXPECT_TRUE(f.s.flags.booPathStarted);
  EXPECT_EQ(UBound(f.doc.objects.lblMensekiS), 0);
}

TEST(PathMeasure, KeepOptions) {
  struct Case {
    bool putSen, putMen;
    int routes, areas, distances;
  };
  for (const Case c : {Case{true, true, 1, 1, 4}, Case{false, true, 0, 1, 0},
                       Case{true, false, 1, 0, 4}, Case{false, false, 0, 0, 0}}) {
    PathFixture f;
    if (!c.putSen) TogglePutSen(f.s);
    if (!c.putMen) TogglePutMen(f.s);
    DrawPath(f, {{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}});
    const Collections& o = f.doc.objects;
    EXPECT_EQ(UBound(o.lblKeiroS), c.routes);
    EXPECT_EQ(UBound(o.lblMensekiS), c.areas);
    EXPECT_EQ(f.KeptDistances(), c.distances);
    EXPECT_EQ(UBound(o.linePS), 4 * (c.routes + c.areas));
    // A kept route clears the working path; otherwise the result stays shown.
    EXPECT_EQ(f.doc.live.lblMenseki.Visible, !c.putSen);
  }
}

TEST(PathMeasure, RouteByCommand) {
  PathFixture f;
  f.Click(10, 10);
  ASSERT_TRUE(CommandFinishRoute(f.doc, f.s));  // only the first vertex: nothing
  EXPECT_EQ(UBound(f.doc.objects.lblKeiroS), 0);
  f.Move(10, 30);
  f.Click(10, 30);
  f.Click(10, 30);
  f.Move(40, 70);
  f.Click(40, 70);
  ASSERT_TRUE(CommandFinishRoute(f.doc, f.s));
  const TextRecord& route = f.doc.objects.lblKeiroS[0];
  EXPECT_EQ(route.Caption, " 70.00 m ");
  // The label stands over the segment starts only: top at the first vertex.
  EXPECT_EQ(route.Top, 10);
}

TEST(PathMeasure, AreaUnitFactorIsTheSquaredDistanceUnit) {
  PathFixture f;
  f.doc.state.GE_intUnitDIndex = 3;  // ratios give kilometres per mm
  f.doc.state.GE_intUnitSIndex = 4;  // hectares
  DrawPath(f, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
  // 100 km2 = 10,000 ha.
  EXPECT_NEAR(TagValue(f.doc.objects.lblMensekiS[0]), 10000, 1e-9);
}

TEST(PathMeasure, EqualAreasInOneSecondGetDistinctTags) {
  PathFixture f;
  DrawPath(f, {{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}});
  DrawPath(f, {{50, 10}, {60, 10}, {60, 20}, {50, 20}, {50, 10}});
  const Collections& o = f.doc.objects;
  ASSERT_EQ(UBound(o.lblMensekiS), 2);
  std::set<std::string> tags{o.lblMensekiS[0].Tag, o.lblMensekiS[1].Tag, o.lblKeiroS[0].Tag,
                             o.lblKeiroS[1].Tag};
  EXPECT_EQ(tags.size(), 4u);
  for (const std::string& t : tags) EXPECT_EQ(Tagged(o, t), 4) << t;
}

TEST(PathMeasure, SegmentFollowsAndShowsSnapMarker) {
  PathFixture f;
  DrawPath(f, {{10, 10}, {30, 10}, {30, 30}});
  f.Click(30, 30);
  f.Move(11, 11);
  EXPECT_TRUE(f.doc.live.shpSnap.Visible);
  EXPECT_EQ(f.doc.live.lineMenseki.back().BorderStyle, kStyleDot);
  EXPECT_EQ(f.doc.live.lineMenseki[0].BorderStyle, kStyleDash);
  f.Move(20, 25);
  EXPECT_FALSE(f.doc.live.shpSnap.Visible);
}

}  // namespace
}  // namespace planimo::test
