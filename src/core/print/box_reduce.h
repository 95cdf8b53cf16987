#pragma once

// Bringing a picture down to the pixels it covers on a page by averaging,
// one source row at a time: a scan of a gigabyte reaches the printer as a
// page-sized picture without ever being copied whole. Every source pixel
// counts towards exactly one output pixel (boxes of whole source pixels,
// whose sides differ by at most one), so neighbouring output pixels neither
// share nor skip a source pixel.

#include <cstdint>
#include <vector>

namespace planimo {

class BoxReducer {
 public:
  // Output sides no larger than the source's; `bytesPerPixel` channels of
  // one byte each are averaged apart (1 for grey, 4 for 32-bit colour).
  BoxReducer(int sourceWidth, int sourceHeight, int width, int height, int bytesPerPixel);

  // Starts at output row `row` instead of the first: the next source row
  // added is sourceRowOf(row). Two reducers, one started half-way, can
  // share a picture's rows between two threads.
  void startAt(int row);
  int sourceRowOf(int row) const;

  // Adds the next source row, top to bottom. True when it finished an
  // output row, which row() then holds until the next call.
  bool add(const std::uint8_t* sourceRow);
  const std::uint8_t* row() const { return out_.data(); }
  // The output row row() holds.
  int rowIndex() const { return outRow_ - 1; }

 private:
  int sourceHeight_, height_, bpp_;
  int sourceRow_ = 0;          // source rows added so far
  int outRow_ = 0;             // output rows finished so far
  std::vector<int> boxWidth_;  // source columns of each output column, left to right
  bool lanes_ = false;         // four channels summed two to a word
  std::vector<std::uint64_t> sums_;
  std::vector<std::uint8_t> out_;
};

}  // namespace planimo
