#include "model/zoom_steps.h"

#include <gtest/gtest.h>

namespace planimo {
namespace {

TEST(ZoomSteps, ReduceWalksDownByTenthsAndStopsAtTenPercent) {
  float zoom = kZoomAsLoaded;
  const char* expected[] = {"90%", "80%", "70%", "60%", "50%", "40%", "30%", "20%", "10%"};
  for (const char* text : expected) {
    zoom = ReduceStep(zoom);
    EXPECT_EQ(ZoomPercentText(zoom), text);
  }
  for (int i = 0; i < 3; ++i) zoom = ReduceStep(zoom);
  EXPECT_EQ(zoom, kZoomMin);
  EXPECT_EQ(ZoomPercentText(zoom), "10%");
}

TEST(ZoomSteps, MagnifyWalksUpByTenthsAndStopsAtTwoHundredPercent) {
  float zoom = kZoomAsLoaded;
  for (int i = 0; i < 5; ++i) zoom = MagnifyStep(zoom);
  EXPECT_EQ(ZoomPercentText(zoom), "150%");
  for (int i = 0; i < 10; ++i) zoom = MagnifyStep(zoom);
  EXPECT_EQ(zoom, kZoomMax);
  EXPECT_EQ(ZoomPercentText(zoom), "200%");
}

TEST(ZoomSteps, StepsFromAMenuFactorKeepItsHundredths) {
  EXPECT_EQ(ZoomPercentText(MagnifyStep(1.25f)), "135%");
  EXPECT_EQ(ZoomPercentText(ReduceStep(0.25f)), "15%");
  EXPECT_EQ(ReduceStep(0.15f), kZoomMin);  // 0.05 is below the floor
  EXPECT_EQ(MagnifyStep(1.95f), kZoomMax);
}

TEST(ZoomSteps, PercentTextRoundsToWholePercent) {
  EXPECT_EQ(ZoomPercentText(1.25f), "125%");
  EXPECT_EQ(ZoomPercentText(0.75f), "75%");
  EXPECT_EQ(ZoomPercentText(1.0f), "100%");
  EXPECT_EQ(ZoomPercentText(0.333f), "33%");
}

}  // namespace
}  // namespace planimo
