#include "print/box_reduce.h"

#include <algorithm>

namespace planimo {

namespace {

// First source index of output cell `i` of `cells` over `source` pixels.
int BoxStart(std::int64_t i, int source, int cells) { return static_cast<int>(i * source / cells); }

}  // namespace

BoxReducer::BoxReducer(int sourceWidth, int sourceHeight, int width, int height, int bytesPerPixel)
    : sourceHeight_(std::max(1, sourceHeight)),
      height_(std::clamp(height, 1, std::max(1, sourceHeight))),
      bpp_(std::max(1, bytesPerPixel)) {
  const int sw = std::max(1, sourceWidth);
  const int w = std::clamp(width, 1, sw);
  column_.resize(static_cast<std::size_t>(sw));
  boxWidth_.resize(static_cast<std::size_t>(w));
  for (int x = 0; x < w; ++x) {
    const int from = BoxStart(x, sw, w), to = BoxStart(x + 1, sw, w);
    boxWidth_[static_cast<std::size_t>(x)] = to - from;
    std::fill(column_.begin() + from, column_.begin() + to, x);
  }
  sums_.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(bpp_), 0);
  out_.assign(sums_.size(), 0);
}

bool BoxReducer::add(const std::uint8_t* sourceRow) {
  if (outRow_ >= height_) return false;
  const std::size_t b = static_cast<std::size_t>(bpp_);
  for (std::size_t x = 0; x < column_.size(); ++x) {
    std::uint64_t* sum = &sums_[static_cast<std::size_t>(column_[x]) * b];
    const std::uint8_t* px = sourceRow + x * b;
    for (std::size_t c = 0; c < b; ++c) sum[c] += px[c];
  }
  ++sourceRow_;
  if (sourceRow_ < BoxStart(outRow_ + 1, sourceHeight_, height_)) return false;
  const std::uint64_t rows = static_cast<std::uint64_t>(sourceRow_ - BoxStart(outRow_, sourceHeight_, height_));
  for (std::size_t x = 0; x < boxWidth_.size(); ++x) {
    const std::uint64_t count = rows * static_cast<std::uint64_t>(boxWidth_[x]);
    for (std::size_t c = 0; c < b; ++c) {
      std::uint64_t& sum = sums_[x * b + c];
      out_[x * b + c] = static_cast<std::uint8_t>((sum + count / 2) / count);
      sum = 0;
    }
  }
  ++outRow_;
  return true;
}

}  // namespace planimo
