#include <gtest/gtest.h>

#include "measure/tool_state.h"

namespace planimo {
namespace {

TEST(DisplayMenu, FixedZoomItemsCheckOnlyThemselvesAndGiveTheirFactor) {
  MeasureSession s;
  s.menu.mnuDispEnlarge = true;
  const float factors[] = {1.25f, 1.0f, 0.75f, 0.5f, 0.25f};
  for (int item = 0; item < 5; ++item) {
    EXPECT_FLOAT_EQ(CheckFixedZoom(s, item), factors[item]);
    for (int other = 0; other < 5; ++other) EXPECT_EQ(s.menu.mnuDispZoom[other], other == item);
    EXPECT_FALSE(s.menu.mnuDispEnlarge);
  }
  ClearZoomChecks(s);
  for (bool checked : s.menu.mnuDispZoom) EXPECT_FALSE(checked);
}

TEST(DisplayMenu, DefaultSampleShowsAndHidesWithItsCheckMark) {
  Document doc;
  MeasureSession s;
  ASSERT_TRUE(s.menu.mnuDspDefault);
  ToggleDefaultSample(doc, s);
  EXPECT_FALSE(s.menu.mnuDspDefault);
  EXPECT_FALSE(doc.live.lblDefault.Visible);
  EXPECT_FALSE(doc.live.linDefault.Visible);
  ToggleDefaultSample(doc, s);
  EXPECT_TRUE(doc.live.lblDefault.Visible && doc.live.linDefault.Visible);
}

TEST(DisplayMenu, NewDrawingOffersSaveAsAndCsvButNotSave) {
  MeasureSession s;
  s.menu.mnuFileSavePrjEnabled = true;
  EnableNewDrawingCommands(s);
  EXPECT_FALSE(s.menu.mnuFileSavePrjEnabled);
  EXPECT_TRUE(s.menu.mnuFileSaveAsPrjEnabled);
  EXPECT_TRUE(s.menu.mnuFileSaveCsvEnabled);
  EXPECT_FALSE(s.menu.mnuFileSaveAsImgEnabled);
}

}  // namespace
}  // namespace planimo
