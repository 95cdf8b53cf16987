// The continuous path as users click it: every click a vertex, whatever
// the clicking habit, and every way of finishing keeps the area and route
// of the polygon through the clicked points.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "measure/measure_keys.h"
#include "measure/path_measure.h"
#include "measure_fixture.h"
#include "model/history.h"

namespace planimo::test {
namespace {

using Points = std::vector<std::pair<float, float>>;
const Points kPlot = {{10, 10}, {50, 10}, {60, 40}, {30, 60}, {5, 40}};

enum class Clicks { Single, Double, JitteryDouble, MoveBackOntoVertex };
enum class Finish { ClosingRelease, AreaCommand, RouteCommand, Escape, BackspaceThenArea, UndoAfterClosing };

struct PathRun : MapFixture {
  PathRun() {
    SelectMode(doc, s, MeasureMode::Path, nullptr);
    ResetHistory(history, doc);
  }
  // The shell ends a gesture with every release.
  void ClickAt(float x, float y) {
    Click(x, y);
    Checkpoint(history, doc, "");
  }
  void Vertex(Clicks how, float x, float y) {
    Move(x - 3, y - 2);
    Move(x, y);
    ClickAt(x, y);
    switch (how) {
      case Clicks::Single: break;
      case Clicks::Double: ClickAt(x, y); break;
      case Clicks::JitteryDouble:  // a hand that moves a pixel between the clicks
        Move(x + 0.26f, y);
        ClickAt(x + 0.26f, y);
        break;
      case Clicks::MoveBackOntoVertex:
        Move(x, y);
        ClickAt(x, y);
        break;
    }
  }
  History history;
};

double Shoelace(const Points& p) {
  double a = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto& [x1, y1] = p[i];
    const auto& [x2, y2] = p[(i + 1) % p.size()];
    a += static_cast<double>(x1) * y2 - static_cast<double>(x2) * y1;
  }
  return std::fabs(a) / 2;
}

double Length(const Points& p, bool closed) {
  double l = 0;
  const std::size_t n = closed ? p.size() : p.size() - 1;
  for (std::size_t i = 0; i < n; ++i) {
    const auto& [x1, y1] = p[i];
    const auto& [x2, y2] = p[(i + 1) % p.size()];
    l += std::hypot(static_cast<double>(x2) - x1, static_cast<double>(y2) - y1);
  }
  return l;
}

void Draw(PathRun& f, Clicks how, const Points& pts) {
  f.ClickAt(pts[0].first, pts[0].second);
  if (how == Clicks::Double) f.ClickAt(pts[0].first, pts[0].second);
  for (std::size_t i = 1; i < pts.size(); ++i) f.Vertex(how, pts[i].first, pts[i].second);
}

// Between vertices the measurement popup opens on a right press.
bool PopupOpens(PathRun& f) {
  f.Move(90, 90);
  const MouseResult r = f.Down(90, 90, 2);
  return r.popups.size() == 1 && r.popups[0] == Popup::Mes;
}

TEST(PathClicks, EveryClickIsAVertexWhateverTheHabitAndFinish) {
  for (Clicks how : {Clicks::Single, Clicks::Double, Clicks::JitteryDouble, Clicks::MoveBackOntoVertex}) {
    for (Finish finish : {Finish::ClosingRelease, Finish::AreaCommand, Finish::RouteCommand, Finish::Escape,
                          Finish::BackspaceThenArea, Finish::UndoAfterClosing}) {
      for (bool putSen : {true, false}) {
        for (bool putMen : {true, false}) {
          PathRun f;
          if (!putSen) TogglePutSen(f.s);
          if (!putMen) TogglePutMen(f.s);
          SCOPED_TRACE(testing::Message() << "clicks " << static_cast<int>(how) << " finish "
                                          << static_cast<int>(finish) << " putSen " << putSen << " putMen "
                                          << putMen);
          Draw(f, how, kPlot);
          bool closed = true, kept = true;
          switch (finish) {
            case Finish::ClosingRelease:
            case Finish::UndoAfterClosing:
              f.Vertex(Clicks::Single, kPlot[0].first + 0.5f, kPlot[0].second - 0.5f);
              break;
            case Finish::AreaCommand:
              ASSERT_TRUE(PopupOpens(f));
              ASSERT_TRUE(CommandCloseArea(f.doc, f.s));
              break;
            case Finish::RouteCommand:
              ASSERT_TRUE(PopupOpens(f));
              ASSERT_TRUE(CommandFinishRoute(f.doc, f.s));
              closed = false;
              break;
            case Finish::Escape:
              EXPECT_TRUE(EscapeMeasurement(f.doc, f.s));
              kept = false;
              break;
            case Finish::BackspaceThenArea:
              f.Vertex(how, 80, 80);  // a vertex clicked by mistake
              ASSERT_TRUE(BackspacePath(f.doc, f.s));
              ASSERT_TRUE(PopupOpens(f));
              ASSERT_TRUE(CommandCloseArea(f.doc, f.s));
              break;
          }
          Checkpoint(f.history, f.doc, "");
          const Collections& o = f.doc.objects;
          const int segments = static_cast<int>(kPlot.size()) - (closed ? 0 : 1);
          // Kept distances: one per fixed segment, none of them zero.
          const int fixed = finish == Finish::Escape ? static_cast<int>(kPlot.size()) - 1 : segments;
          ASSERT_EQ(f.KeptDistances(), putSen ? fixed : 0);
          for (int k = 0; k < f.KeptDistances(); ++k) {
            EXPECT_EQ(o.lblKyori[static_cast<std::size_t>(k)].Caption.find(" 0.00 "), std::string::npos) << k;
          }
          const bool area = kept && closed && putMen;
          const bool route = kept && putSen;
          ASSERT_EQ(UBound(o.lblMensekiS), area ? 1 : 0);
          ASSERT_EQ(UBound(o.lblKeiroS), route ? 1 : 0);
          if (area) {
            EXPECT_NEAR(TagValue(o.lblMensekiS[0]), Shoelace(kPlot), 1e-3);
            EXPECT_EQ(Tagged(o, o.lblMensekiS[0].Tag), 5);
          }
          if (route) {
            EXPECT_NEAR(TagValue(o.lblKeiroS[0]), Length(kPlot, closed), 1e-3);
            EXPECT_EQ(Tagged(o, o.lblKeiroS[0].Tag), segments);
          }
          // Whatever ended it, the path is over and the next click starts anew.
          EXPECT_FALSE(f.s.flags.Running());
          EXPECT_FALSE(f.s.flags.booPathStarted);
          if (finish == Finish::UndoAfterClosing && (area || route || putSen)) {
            ASSERT_TRUE(Undo(f.history, f.doc));
            EXPECT_EQ(UBound(f.doc.objects.lblMensekiS), 0);
            EXPECT_EQ(UBound(f.doc.objects.lblKeiroS), 0);
            ASSERT_TRUE(Redo(f.history, f.doc));
            EXPECT_EQ(UBound(f.doc.objects.lblMensekiS), area ? 1 : 0);
          }
          f.ClickAt(100, 100);
          EXPECT_EQ(f.doc.live.lineMenseki.size(), 1u);
          EXPECT_TRUE(f.s.flags.booPathStarted);
        }
      }
    }
  }
}

// The segment after a fixed vertex follows the pointer at once, and the
// first vertex alone opens no popup and makes no route.
TEST(PathClicks, NextSegmentFollowsRightAfterTheClick) {
  PathRun f;
  f.ClickAt(10, 10);
  EXPECT_TRUE(f.Down(10, 10, 2).popups.empty());
  ASSERT_TRUE(CommandFinishRoute(f.doc, f.s));
  EXPECT_EQ(UBound(f.doc.objects.lblKeiroS), 0);
  f.Move(40, 10);
  f.ClickAt(40, 10);
  f.Move(40, 30);
  const LineRecord& top = f.doc.live.lineMenseki.back();
  EXPECT_EQ(f.doc.live.lineMenseki.size(), 2u);
  EXPECT_TRUE(top.Visible);
  EXPECT_EQ(top.BorderStyle, kStyleDot);
  EXPECT_EQ(std::make_pair(top.X1, top.Y1), std::make_pair(40.0f, 10.0f));
  EXPECT_EQ(std::make_pair(top.X2, top.Y2), std::make_pair(40.0f, 30.0f));
  EXPECT_EQ(f.doc.live.lblDistance.Caption, " 20.00 m ");
}

}  // namespace
}  // namespace planimo::test
