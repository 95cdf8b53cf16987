#include "print/box_reduce.h"

#include <gtest/gtest.h>

#include <vector>

namespace planimo {
namespace {

// Reduces a grey picture given as a function of (x, y).
template <typename Pixel>
std::vector<std::vector<int>> Reduce(int sw, int sh, int w, int h, Pixel pixel) {
  BoxReducer reducer(sw, sh, w, h, 1);
  std::vector<std::vector<int>> out;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(sw));
  for (int y = 0; y < sh; ++y) {
    for (int x = 0; x < sw; ++x)
      row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(pixel(x, y));
    if (!reducer.add(row.data())) continue;
    EXPECT_EQ(reducer.rowIndex(), static_cast<int>(out.size()));
    out.emplace_back(reducer.row(), reducer.row() + w);
  }
  return out;
}

TEST(BoxReducer, EverySourcePixelCountsOnceWhateverTheRatio) {
  const struct {
    int sw, sh, w, h;
  } cases[] = {{7, 5, 7, 5}, {30, 30, 3, 3}, {31, 17, 12, 5}, {1000, 3, 7, 1}, {5, 9, 2, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " -> " << c.w << "x" << c.h);
    // A flat grey stays flat, every output row comes once and in order.
    const auto flat = Reduce(c.sw, c.sh, c.w, c.h, [](int, int) { return 77; });
    ASSERT_EQ(flat.size(), std::size_t(c.h));
    for (const auto& r : flat)
      for (int v : r) EXPECT_EQ(v, 77);
    // One white column and one white row each land in exactly one output
    // column and row: no seam shares them, none drops them.
    for (int at = 0; at < c.sw; ++at) {
      const auto line =
          Reduce(c.sw, c.sh, c.w, c.h, [at](int x, int) { return x == at ? 255 : 0; });
      int lit = 0;
      for (int v : line[0]) lit += v > 0;
      EXPECT_EQ(lit, 1) << "column " << at;
    }
    for (int at = 0; at < c.sh; ++at) {
      const auto line =
          Reduce(c.sw, c.sh, c.w, c.h, [at](int, int y) { return y == at ? 255 : 0; });
      int lit = 0;
      for (const auto& r : line) lit += r[0] > 0;
      EXPECT_EQ(lit, 1) << "row " << at;
    }
    // A second reducer started half-way gives the lower rows alike.
    const auto ramp = [](int x, int y) { return (x * 7 + y * 13) % 256; };
    const auto whole = Reduce(c.sw, c.sh, c.w, c.h, ramp);
    BoxReducer lower(c.sw, c.sh, c.w, c.h, 1);
    lower.startAt(c.h / 2);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(c.sw));
    int rows = 0;
    for (int y = lower.sourceRowOf(c.h / 2); y < c.sh; ++y) {
      for (int x = 0; x < c.sw; ++x)
        row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(ramp(x, y));
      if (!lower.add(row.data())) continue;
      ++rows;
      EXPECT_EQ(std::vector<int>(lower.row(), lower.row() + c.w),
                whole[static_cast<std::size_t>(lower.rowIndex())]);
    }
    EXPECT_EQ(rows, c.h - c.h / 2);
  }
  // Four channels average apart; the mean rounds to nearest.
  BoxReducer colour(2, 1, 1, 1, 4);
  const std::uint8_t px[8] = {0, 10, 255, 1, 1, 20, 255, 2};
  ASSERT_TRUE(colour.add(px));
  EXPECT_EQ(std::vector<int>(colour.row(), colour.row() + 4), (std::vector<int>{1, 15, 255, 2}));
}

}  // namespace
}  // namespace planimo
