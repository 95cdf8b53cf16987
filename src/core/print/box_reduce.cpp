#include "print/box_reduce.h"

#include <algorithm>
#include <bit>
#include <cstring>

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
  boxWidth_.resize(static_cast<std::size_t>(w));
  for (int x = 0; x < w; ++x)
    boxWidth_[static_cast<std::size_t>(x)] = BoxStart(x + 1, sw, w) - BoxStart(x, sw, w);
  // Two channels to a 32-bit word in 16-bit lanes hold runs of up to 257 pixels (257 × 255 =
  // 65535).
  lanes_ = bpp_ == 4 && std::endian::native == std::endian::little && boxWidth_.front() + 1 <= 257;
  sums_.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(bpp_), 0);
  out_.assign(sums_.size(), 0);
}

namespace {

// One source row into the sums: each box's run of pixels is added up in
// registers first, then once into the output pixel's sums.
template <int B>
void AddRow(const std::uint8_t* src, const std::vector<int>& boxWidth, std::uint64_t* sums) {
  for (const int width : boxWidth) {
    std::uint32_t acc[B] = {};
    for (int i = 0; i < width; ++i, src += B) {
      for (int c = 0; c < B; ++c) acc[c] += src[c];
    }
    for (int c = 0; c < B; ++c) sums[c] += acc[c];
    sums += B;
  }
}

// Four channels at once, two to a 32-bit word in 16-bit lanes, for boxes
// of up to 257 pixels.
void AddRowLanes(const std::uint8_t* src, const std::vector<int>& boxWidth, std::uint64_t* sums) {
  for (const int width : boxWidth) {
    std::uint32_t even = 0, odd = 0;  // channels 0 and 2, channels 1 and 3
    for (int i = 0; i < width; ++i, src += 4) {
      std::uint32_t p;
      std::memcpy(&p, src, 4);
      even += p & 0x00FF00FFu;
      odd += (p >> 8) & 0x00FF00FFu;
    }
    sums[0] += even & 0xFFFFu;
    sums[1] += odd & 0xFFFFu;
    sums[2] += even >> 16;
    sums[3] += odd >> 16;
    sums += 4;
  }
}

void AddRowAny(const std::uint8_t* src, const std::vector<int>& boxWidth, std::size_t b,
               std::uint64_t* sums) {
  for (const int width : boxWidth) {
    for (int i = 0; i < width; ++i, src += b) {
      for (std::size_t c = 0; c < b; ++c) sums[c] += src[c];
    }
    sums += b;
  }
}

}  // namespace

void BoxReducer::startAt(int row) {
  outRow_ = std::clamp(row, 0, height_);
  sourceRow_ = sourceRowOf(outRow_);
  std::fill(sums_.begin(), sums_.end(), 0);
}

int BoxReducer::sourceRowOf(int row) const { return BoxStart(row, sourceHeight_, height_); }

bool BoxReducer::add(const std::uint8_t* sourceRow) {
  if (outRow_ >= height_) return false;
  const std::size_t b = static_cast<std::size_t>(bpp_);
  if (b == 1) {
    AddRow<1>(sourceRow, boxWidth_, sums_.data());
  } else if (b == 4) {
    if (lanes_) {
      AddRowLanes(sourceRow, boxWidth_, sums_.data());
    } else {
      AddRow<4>(sourceRow, boxWidth_, sums_.data());
    }
  } else {
    AddRowAny(sourceRow, boxWidth_, b, sums_.data());
  }
  ++sourceRow_;
  if (sourceRow_ < BoxStart(outRow_ + 1, sourceHeight_, height_)) return false;
  const std::uint64_t rows =
      static_cast<std::uint64_t>(sourceRow_ - BoxStart(outRow_, sourceHeight_, height_));
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
