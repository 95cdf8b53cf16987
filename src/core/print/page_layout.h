#pragma once

// Where the drawing goes on paper: the scale of each printing method, where
// the image lands on the page, and the order of the tiles when the drawing
// is printed at its screen size over several pages. All lengths are
// millimetres: page millimetres of the printable area (origin at its
// top-left corner) and surface millimetres of the drawing as displayed.

#include <cstdint>
#include <optional>
#include <vector>

namespace planimo {

// intPrintMethod, the index of the method's option button.
enum PrintMethod : std::int16_t {
  kPrintFitPage = 0,  // keep the aspect ratio, largest size that fits the page
  kPrintStretch = 1,  // stretch in X and Y apart to fill the page
  kPrintTiled = 2,    // screen size, tiled over as many pages as needed
};

struct SizeMm {
  double width = 0;
  double height = 0;
};

struct RectMm {
  double left = 0, top = 0, width = 0, height = 0;
  bool operator==(const RectMm&) const = default;
};

// Factors from surface millimetres to page millimetres: kx and ky for
// positions, k for sizes (font sizes, marker radius).
struct PageScale {
  double kx = 1, ky = 1, k = 1;
};

// Methods 0 and 1. Without an image (or with an empty surface) the objects
// print at their own millimetres: every factor is 1.
PageScale ScaleFor(int method, SizeMm page, SizeMm surface, bool hasImage);

// Methods 0 and 1: the page rectangle the whole image is painted into;
// nothing without an image.
std::optional<RectMm> ImageOnPage(int method, SizeMm page, SizeMm surface, bool hasImage);

// Method 2: the surface rectangles printed one per page, column by column
// (left to right, each column top to bottom). Each is a full page; the last
// column and row reach past the surface. A drawing that is an exact number
// of pages wide or high gets no empty page after it. Nothing without an
// image or with an unusable page.
std::vector<RectMm> TileOrder(SizeMm surface, SizeMm page, bool hasImage);

}  // namespace planimo
