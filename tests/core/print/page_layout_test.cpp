#include "print/page_layout.h"

#include <gtest/gtest.h>

namespace planimo {
namespace {

constexpr SizeMm kPortrait{200, 280};

TEST(ScaleFor, EachMethodScalesTheSurfaceOntoThePage) {
  struct Case {
    const char* name;
    int method;
    SizeMm surface;
    bool hasImage;
    double kx, ky, k;
  } cases[] = {
      // Twice as wide as high on a portrait page: the width decides.
      {"fit, wide", kPrintFitPage, {400, 200}, true, 0.5, 0.5, 0.5},
      {"fit, tall", kPrintFitPage, {100, 560}, true, 0.5, 0.5, 0.5},
      {"stretch", kPrintStretch, {400, 140}, true, 0.5, 2.0, 1.25},
      {"no image", kPrintStretch, {400, 140}, false, 1, 1, 1},
      {"empty surface", kPrintFitPage, {0, 0}, true, 1, 1, 1},
  };
  for (const Case& c : cases) {
    const PageScale s = ScaleFor(c.method, kPortrait, c.surface, c.hasImage);
    EXPECT_DOUBLE_EQ(s.kx, c.kx) << c.name;
    EXPECT_DOUBLE_EQ(s.ky, c.ky) << c.name;
    EXPECT_DOUBLE_EQ(s.k, c.k) << c.name;
  }
}

TEST(ImageOnPage, FitKeepsTheAspectAndStretchFillsThePage) {
  EXPECT_EQ(ImageOnPage(kPrintFitPage, kPortrait, {400, 200}, true), (RectMm{0, 0, 200, 100}));
  EXPECT_EQ(ImageOnPage(kPrintStretch, kPortrait, {400, 200}, true), (RectMm{0, 0, 200, 280}));
  EXPECT_FALSE(ImageOnPage(kPrintFitPage, kPortrait, {400, 200}, false));
}

TEST(TileOrder, RunsColumnByColumnWithoutEmptyPages) {
  // 2 pages wide, 3 high: column 1 rows 1-3, then column 2.
  const std::vector<RectMm> tiles = TileOrder({350, 700}, kPortrait, true);
  ASSERT_EQ(tiles.size(), 6u);
  const double expected[6][2] = {{0, 0}, {0, 280}, {0, 560}, {200, 0}, {200, 280}, {200, 560}};
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    EXPECT_EQ(tiles[i], (RectMm{expected[i][0], expected[i][1], 200, 280})) << i;
  }
  struct Case {
    const char* name;
    SizeMm surface;
    std::size_t pages;
  } cases[] = {
      {"smaller than the page", {50, 50}, 1},
      {"1.5 pages wide", {300, 100}, 2},
      {"exactly 2 x 1 pages", {400, 280}, 2},
      {"exactly, with float rounding", {400.0000001, 280.0000001}, 2},
      {"just past a page", {200.01, 280}, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(TileOrder(c.surface, kPortrait, true).size(), c.pages) << c.name;
  EXPECT_TRUE(TileOrder({350, 700}, kPortrait, false).empty());
  EXPECT_TRUE(TileOrder({350, 700}, {0, 280}, true).empty());
}

}  // namespace
}  // namespace planimo
