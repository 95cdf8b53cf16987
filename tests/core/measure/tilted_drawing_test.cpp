// A drawing scanned askew (the tilt correction) and measured with unequal
// scales across and along the sheet, so that the angle of the correction
// changes every length. Known answers worked by hand: the tilt points
// (0, 0)-(10, 10) give a tilt of 45° and a correction of −45°; x is 1 m and
// y 2 m per drawing millimetre once the drawing is turned straight.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <utility>

#include "geometry/tilt.h"
#include "measure/dispatcher.h"
#include "measure_fixture.h"
#include "model/value_tag.h"

namespace planimo::test {
namespace {

struct TiltedFixture : MapFixture {
  TiltedFixture() {
    doc.state.GE_sngHosei = {0, 0, 10, 10};
    EXPECT_TRUE(ComputeTiltCorrection(doc.state));
    doc.state.GE_tpPtoD_r_X = 1;
    doc.state.GE_tpPtoD_r_Y = 2;
  }
  double Kept(int i) const { return ParseValueTag(doc.objects.lblKyori[static_cast<std::size_t>(i)].Tag)->value; }
};

TEST(TiltedDrawing, LinesAndRoutesAreMeasuredOnTheStraightenedDrawing) {
  TiltedFixture f;
  EXPECT_NEAR(f.doc.state.GE_dblHosei[0], 45, 1e-12);
  EXPECT_NEAR(f.doc.state.GE_dblHosei[3], -3.14159265358979 / 4, 1e-12);

  // Along the tilt: turned onto the x axis, 20·√2 mm at 1 m per mm (without
  // the correction 44.72 m, turned the wrong way 56.57 m).
  f.Measure(20, 20, 40, 40);
  EXPECT_EQ(f.doc.objects.lblKyori[0].Caption, " 28.28 m ");
  EXPECT_NEAR(f.Kept(0), 20 * std::sqrt(2.0), 1e-4);
  // Square to the tilt: 10·√2 mm onto the y axis at 2 m per mm.
  f.Measure(40, 40, 30, 50);
  EXPECT_NEAR(f.Kept(1), 20 * std::sqrt(2.0), 1e-4);
  // Straight down the sheet: (14.142, 14.142) mm once turned, √1000 m.
  f.Measure(20, 20, 20, 40);
  EXPECT_EQ(f.doc.objects.lblKyori[2].Caption, " 31.62 m ");

  // The same three legs as one route: their sum.
  SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
  f.Click(20, 20);
  for (const auto& [x, y] : {std::pair{40.0f, 40.0f}, std::pair{30.0f, 50.0f}}) {
    f.Move(x, y);
    f.Click(x, y);
    f.Click(x, y);
  }
  f.Move(30, 70);
  f.Click(30, 70);
  ASSERT_TRUE(CommandFinishRoute(f.doc, f.s));
  const std::optional<ValueTag> route = ParseValueTag(f.doc.objects.lblKeiroS[0].Tag);
  ASSERT_TRUE(route);
  EXPECT_NEAR(route->value, 40 * std::sqrt(2.0) + std::sqrt(1000.0), 1e-4);
}

}  // namespace
}  // namespace planimo::test
