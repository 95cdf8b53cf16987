#include "print/page_layout.h"

#include <algorithm>
#include <cmath>

namespace planimo {

namespace {

// A tile that would show less than this of the drawing is rounding left over
// from a drawing an exact number of pages wide, not a page of its own.
constexpr double kTileToleranceMm = 1e-3;

// Pages beyond this many are refused: a page size this small against the
// drawing is a broken printer setting, not a print job.
constexpr std::size_t kMaxTiles = 10000;

bool Usable(SizeMm s) {
  return std::isfinite(s.width) && std::isfinite(s.height) && s.width > 0 && s.height > 0;
}

}  // namespace

PageScale ScaleFor(int method, SizeMm page, SizeMm surface, bool hasImage) {
  if (!hasImage || !Usable(surface) || !Usable(page)) return PageScale{};
  const double sx = page.width / surface.width;
  const double sy = page.height / surface.height;
  if (method == kPrintStretch) return PageScale{sx, sy, (sx + sy) / 2};
  const double s = sx <= sy ? sx : sy;
  return PageScale{s, s, s};
}

std::optional<RectMm> ImageOnPage(int method, SizeMm page, SizeMm surface, bool hasImage) {
  if (!hasImage || !Usable(surface) || !Usable(page)) return std::nullopt;
  if (method == kPrintStretch) return RectMm{0, 0, page.width, page.height};
  const PageScale s = ScaleFor(method, page, surface, hasImage);
  return RectMm{0, 0, surface.width * s.kx, surface.height * s.ky};
}

std::vector<RectMm> TileOrder(SizeMm surface, SizeMm page, bool hasImage) {
  std::vector<RectMm> tiles;
  if (!hasImage || !Usable(surface) || !Usable(page)) return tiles;
  const auto count = [](double total, double step) {
    return static_cast<std::size_t>(std::max(1.0, std::ceil((total - kTileToleranceMm) / step)));
  };
  const std::size_t columns = count(surface.width, page.width);
  const std::size_t rows = count(surface.height, page.height);
  if (columns > kMaxTiles / rows) return tiles;
  tiles.reserve(columns * rows);
  for (std::size_t c = 0; c < columns; ++c) {
    for (std::size_t r = 0; r < rows; ++r) {
      tiles.push_back(RectMm{static_cast<double>(c) * page.width, static_cast<double>(r) * page.height,
                             page.width, page.height});
    }
  }
  return tiles;
}

}  // namespace planimo
