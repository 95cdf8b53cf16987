#include "measure/measure_keys.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "measure/dispatcher.h"
#include "measure_fixture.h"

namespace planimo::test {
namespace {

bool SameRecords(const Collections& a, const Collections& b) {
  return a.lblKyori == b.lblKyori && a.lineDsSave == b.lineDsSave && a.lineHojoSave == b.lineHojoSave &&
         a.shpSnpo == b.shpSnpo && a.lblKeiroS == b.lblKeiroS && a.lblMensekiS == b.lblMensekiS &&
         a.linePS == b.linePS;
}

bool NothingLive(const Document& d, const MeasureSession& s) {
  const WorkingObjects& l = d.live;
  const RunFlags& f = s.flags;
  return !f.Running() && !f.booMesMovedDis && !f.booMesShownDis && !f.booPathStarted && !f.booKnownDisRun &&
         !l.lineDistance.Visible && !l.lblDistance.Visible && !l.shpCircle.Visible && !l.shpSnap.Visible &&
         l.lineMenseki.size() == 1 && !l.lineMenseki[0].Visible && !l.lineHojo[0].Visible;
}

// Click, move, click of a fresh measurement in the running state's mode.
void Gesture(MapFixture& f) {
  f.Click(30, 30);
  f.Move(80, 60);
  f.Click(80, 60);
}

struct Running {
  std::string name;
  MeasureMode mode;
  std::function<void(MapFixture&)> start;
};

TEST(EscapeMeasurement, EveryRunningStateIsDroppedAndTheNextGestureStartsAfresh) {
  const auto path = [](int fixed, bool following) {
    return [fixed, following](MapFixture& f) {
      f.Click(100, 100);
      for (int i = 1; i <= fixed; ++i) {
        const float x = 100 + 40 * static_cast<float>(i);
        f.Move(x, 100 + 10 * static_cast<float>(i));
        f.Click(x, 100 + 10 * static_cast<float>(i));
        if (following) f.Click(x, 100 + 10 * static_cast<float>(i));
      }
      f.Move(300, 300);
    };
  };
  const std::vector<Running> states = {
      {"line after the first click", MeasureMode::Line, [](MapFixture& f) { f.Click(100, 100); }},
      {"line following", MeasureMode::Line, [](MapFixture& f) { f.Click(100, 100), f.Move(150, 120); }},
      {"line shown", MeasureMode::Line, [](MapFixture& f) { f.Measure(100, 100, 150, 120); }},
      {"circle following", MeasureMode::Circle, [](MapFixture& f) { f.Click(100, 100), f.Move(100, 140); }},
      {"specified distance following", MeasureMode::Specified,
       [](MapFixture& f) { f.Click(100, 100), f.Move(150, 100); }},
      {"path at its first vertex", MeasureMode::Path, path(0, false)},
      {"path with one fixed segment", MeasureMode::Path, path(1, false)},
      {"path with two fixed segments, the next following", MeasureMode::Path, path(2, true)},
      {"known-distance picking line", MeasureMode::Line,
       [](MapFixture& f) {
         f.doc.state.booPickDis = true;
         f.Down(100, 100);
         f.Move(150, 100);
         f.doc.state.booPickDis = false;
       }},
  };
  for (const Running& r : states) {
    MapFixture f, fresh;
    for (MapFixture* m : {&f, &fresh}) {
      m->s.dblFixedDistance = 50;
      SelectMode(m->doc, m->s, r.mode, nullptr);
    }
    r.start(f);
    const Collections kept = f.doc.objects;
    EscapeMeasurement(f.doc, f.s);
    EXPECT_TRUE(NothingLive(f.doc, f.s)) << r.name;
    EXPECT_TRUE(SameRecords(kept, f.doc.objects)) << r.name;  // nothing kept, nothing taken
    EXPECT_FALSE(EscapeMeasurement(f.doc, f.s)) << r.name;   // a second Escape has nothing to drop
    // What was kept before the Escape stays; the gesture adds what a fresh
    // session's gesture adds.
    f.doc.objects = fresh.doc.objects;
    Gesture(f);
    Gesture(fresh);
    EXPECT_TRUE(SameRecords(fresh.doc.objects, f.doc.objects)) << r.name;
    EXPECT_EQ(f.doc.live.lineMenseki[0].X1, fresh.doc.live.lineMenseki[0].X1) << r.name;
  }
}

struct PathFixture : MapFixture {
  explicit PathFixture(bool keep = true) {
    SelectMode(doc, s, MeasureMode::Path, nullptr);
    if (!keep) TogglePutSen(s);
  }
  // Fixes the vertices after the first; `following` starts the next segment.
  void Draw(const std::vector<std::pair<float, float>>& pts, bool following) {
    Click(pts[0].first, pts[0].second);
    for (std::size_t i = 1; i < pts.size(); ++i) {
      Move(pts[i].first, pts[i].second);
      Click(pts[i].first, pts[i].second);
      if (following || i + 1 < pts.size()) Click(pts[i].first, pts[i].second);
    }
  }
};

TEST(BackspacePath, TakesBackTheLastVertexAndItsDistanceInEveryState) {
  for (bool keep : {true, false}) {
    for (bool following : {false, true}) {
      const std::string name = std::string(keep ? "kept" : "not kept") + (following ? ", following" : "");
      // A, B, C fixed, C taken back, then D: the same as A, B, D.
      PathFixture f(keep), fresh(keep);
      // A distance measured before along B-C is no part of the path.
      for (PathFixture* m : {&f, &fresh}) {
        SelectMode(m->doc, m->s, MeasureMode::Line, nullptr);
        m->s.menu.popMesPutSen = true;
        m->Measure(150, 100, 150, 150);
        m->s.menu.popMesPutSen = keep;
        SelectMode(m->doc, m->s, MeasureMode::Path, nullptr);
      }
      f.Draw({{100, 100}, {150, 100}, {150, 150}}, following);
      ASSERT_TRUE(BackspacePath(f.doc, f.s)) << name;
      EXPECT_EQ(f.KeptDistances(), keep ? 2 : 1) << name;
      EXPECT_EQ(UBound(f.doc.live.lineMenseki), 1) << name;
      EXPECT_TRUE(f.doc.live.lineMenseki[1].Visible) << name;  // the rubber band from B
      EXPECT_TRUE(f.s.flags.Running()) << name;
      f.Move(200, 130);
      f.Click(200, 130);
      ASSERT_TRUE(CommandFinishRoute(f.doc, f.s)) << name;
      fresh.Draw({{100, 100}, {150, 100}, {200, 130}}, false);
      ASSERT_TRUE(CommandFinishRoute(fresh.doc, fresh.s)) << name;
      EXPECT_TRUE(SameRecords(fresh.doc.objects, f.doc.objects)) << name;
    }
  }
}

TEST(BackspacePath, StopsAtTheFirstVertexAndOutsideAnOpenPath) {
  PathFixture f;
  EXPECT_FALSE(BackspacePath(f.doc, f.s));  // nothing started
  f.Draw({{100, 100}, {150, 100}, {150, 150}}, true);
  EXPECT_TRUE(BackspacePath(f.doc, f.s));
  EXPECT_TRUE(BackspacePath(f.doc, f.s));
  EXPECT_EQ(f.KeptDistances(), 0);
  EXPECT_FALSE(BackspacePath(f.doc, f.s));  // the first vertex stays
  ASSERT_EQ(UBound(f.doc.live.lineMenseki), 0);
  EXPECT_EQ(f.doc.live.lineMenseki[0].X1, 100);
  f.Move(130, 140);
  f.Click(130, 140);
  EXPECT_EQ(f.KeptDistances(), 1);  // the path goes on from its first vertex

  // A closed path takes nothing back.
  PathFixture g;
  g.Draw({{10, 10}, {50, 10}, {50, 50}, {10, 10}}, false);
  EXPECT_FALSE(g.s.flags.booPathStarted);
  const Collections closed = g.doc.objects;
  EXPECT_FALSE(BackspacePath(g.doc, g.s));
  EXPECT_TRUE(SameRecords(closed, g.doc.objects));
}

}  // namespace
}  // namespace planimo::test
