#include "geometry/leader_hit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/record_builders.h"

namespace planimo {
namespace {

LineRecord Line(float x1, float y1, float x2, float y2, bool visible = true) {
  LineRecord l = test::ShownLine(x1, y1, x2, y2);
  l.Visible = visible;
  return l;
}

Document WithLeaders(std::vector<LineRecord> lines) {
  Document doc;
  doc.objects.lineHikidashi = std::move(lines);
  return doc;
}

struct HitCase {
  const char* what;
  float x, y;
  int index;
  std::int16_t handle;
};

TEST(HitLeaderEnd, FirstEndFirstLowestIndexFirst) {
  const Document doc = WithLeaders({
      Line(10, 10, 11, 11),            // short: both ends near
      Line(11, 11, 60, 60),            // shares an end with line 0
      Line(100, 100, 150, 100),
      Line(200, 200, 210, 200, false)  // the hidden spare
  });
  const HitCase cases[] = {
      {"both ends of a short line within 2", 10.5f, 10.5f, 0, kHandleFirstEnd},
      {"second end of line 0 beats line 1", 12.5f, 12.5f, 0, kHandleSecondEnd},
      {"second end", 59, 61.9f, 1, kHandleSecondEnd},
      {"box edge", 152, 102, 2, kHandleSecondEnd},
      {"just outside the box", 152.1f, 100, -1, kHandleNone},
      {"hidden spare", 200, 200, -1, kHandleNone},
  };
  for (const auto& c : cases) {
    const LeaderHit h = HitLeaderEnd(doc, c.x, c.y);
    EXPECT_EQ(h.index, c.index) << c.what;
    EXPECT_EQ(h.handle, c.handle) << c.what;
  }
}

TEST(HitLeaderLine, BodiesOfAllThreeKinds) {
  const Document doc = WithLeaders({
      Line(50, 10, 10, 10),   // horizontal, drawn right to left
      Line(100, 10, 100, 50), // vertical
      Line(10, 100, 50, 140), // sloped 1:1
      Line(10, 300, 50, 300, false),
  });
  const HitCase cases[] = {
      {"on the horizontal", 30, 10, 0, kHandleBody},
      {"2 below the horizontal", 30, 12, 0, kHandleBody},
      {"past the horizontal", 30, 12.5f, -1, kHandleNone},
      {"beyond the horizontal's end", 52, 10, 0, kHandleBody},
      {"too far beyond the end", 53, 10, -1, kHandleNone},
      {"beside the vertical", 98, 30, 1, kHandleBody},
      {"below the vertical's end", 100, 52.5f, -1, kHandleNone},
      {"on the sloped line", 30, 120, 2, kHandleSlopedBody},
      {"vertically 1.9 off the slope", 30, 121.9f, 2, kHandleSlopedBody},
      {"vertically 2.1 off the slope", 30, 122.1f, -1, kHandleNone},
      {"on the slope's extension, far away", 150, 240, -1, kHandleNone},
      {"hidden spare", 30, 300, -1, kHandleNone},
  };
  for (const auto& c : cases) {
    const LeaderHit h = HitLeaderLine(doc, c.x, c.y);
    EXPECT_EQ(h.index, c.index) << c.what;
    EXPECT_EQ(h.handle, c.handle) << c.what;
  }
}

// The sloped test as a scan of the abscissa in 0.001 mm steps.
bool ScanHit(const LineRecord& l, double x, double y) {
  const double xmin = std::min(l.X1, l.X2), xmax = std::max(l.X1, l.X2);
  const double ymin = std::min(l.Y1, l.Y2), ymax = std::max(l.Y1, l.Y2);
  if (x < xmin - 2 || x > xmax + 2 || y < ymin - 2 || y > ymax + 2) return false;
  const double yAtXmin = l.X1 < l.X2 ? l.Y1 : l.Y2;
  const double yAtXmax = l.X1 < l.X2 ? l.Y2 : l.Y1;
  const double s = (yAtXmin - yAtXmax) / (xmin - xmax);
  const double c = yAtXmax - xmax * s;
  for (int k = 0; k <= 2000; ++k) {
    const double v = s * (x - 1 + k * 0.001) + c;
    if (y - 1 <= v && v <= y + 1) return true;
  }
  return false;
}

TEST(HitLeaderLine, SlopedTestAgreesWithTheFineScan) {
  std::mt19937 rng(20240517);
  std::uniform_real_distribution<float> coord(0, 100);
  std::uniform_real_distribution<float> near(-4, 4);
  std::uniform_real_distribution<float> steep(0.0001f, 0.01f);
  int hits = 0;
  for (int n = 0; n < 3000; ++n) {
    LineRecord l = Line(coord(rng), coord(rng), coord(rng), coord(rng));
    if (n % 5 == 0) l.X2 = l.X1 + steep(rng);  // nearly vertical: coarse relative to the step
    if (l.X1 == l.X2 || l.Y1 == l.Y2) continue;
    const float t = std::uniform_real_distribution<float>(0, 1)(rng);
    const float x = l.X1 + t * (l.X2 - l.X1) + near(rng);
    const float y = l.Y1 + t * (l.Y2 - l.Y1) + near(rng);
    const bool expected = ScanHit(l, x, y);
    hits += expected;
    const LeaderHit h = HitLeaderLine(WithLeaders({l}), x, y);
    EXPECT_EQ(h.index == 0, expected) << l.X1 << "," << l.Y1 << " - " << l.X2 << "," << l.Y2
                                      << " at " << x << "," << y;
  }
  EXPECT_GT(hits, 300);  // the sample exercises both answers
}

}  // namespace
}  // namespace planimo
