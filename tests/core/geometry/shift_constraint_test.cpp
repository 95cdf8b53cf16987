#include "geometry/shift_constraint.h"

#include <gtest/gtest.h>

namespace planimo {
namespace {

struct ShiftCase {
  const char* what;
  PointF pointer;
  PointF expected;
};

TEST(ApplyShiftConstraint, HorizontalVerticalOrFortyFive) {
  const PointF start{100, 100};
  const ShiftCase cases[] = {
      {"mostly across keeps y", {130, 104}, {130, 100}},
      {"mostly down keeps x", {104, 130}, {100, 130}},
      {"diagonal uses the vertical leg", {130, 120}, {120, 120}},
      {"diagonal up left", {70, 80}, {80, 80}},
      {"diagonal down left", {70, 120}, {80, 120}},
      {"diagonal up right", {150, 85}, {115, 85}},
      {"vertical leg of exactly 10 is diagonal", {130, 110}, {110, 110}},
      {"small move in both is horizontal", {105, 105}, {105, 100}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplyShiftConstraint(start, c.pointer, true), c.expected) << c.what;
  }
}

TEST(ApplyShiftConstraint, ShiftUpFollowsThePointer) {
  EXPECT_EQ(ApplyShiftConstraint({100, 100}, {130, 104}, false), (PointF{130, 104}));
}

}  // namespace
}  // namespace planimo
