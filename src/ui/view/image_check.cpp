#include "view/image_check.h"

#include <cstdlib>
#include <cstring>

namespace planimo {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kSoi = 0xD8;
constexpr std::uint8_t kEoi = 0xD9;
constexpr std::uint8_t kSos = 0xDA;
constexpr std::uint8_t kTem = 0x01;

bool IsRestart(std::uint8_t m) { return m >= 0xD0 && m <= 0xD7; }

// Position of the next 0xFF at or after i, or the size when there is none.
std::size_t NextFF(std::span<const std::uint8_t> f, std::size_t i) {
  if (i >= f.size()) return f.size();
  const void* p = std::memchr(f.data() + i, kMarker, f.size() - i);
  return p ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(p) - f.data()) : f.size();
}

// Skips entropy-coded data: stuffed 0xFF00 and restart markers belong to it.
// Returns the position of the 0xFF that starts the next real marker.
std::size_t SkipScan(std::span<const std::uint8_t> f, std::size_t i) {
  const std::size_t n = f.size();
  for (;;) {
    const std::size_t j = NextFF(f, i);
    std::size_t k = j + 1;
    while (k < n && f[k] == kMarker) ++k;
    if (k >= n) return n;
    if (f[k] == 0x00 || IsRestart(f[k])) {
      i = k + 1;
      continue;
    }
    return j;
  }
}

std::uint32_t Le16(std::span<const std::uint8_t> f, std::size_t at) {
  return static_cast<std::uint32_t>(f[at] | f[at + 1] << 8);
}

std::uint32_t Le32(std::span<const std::uint8_t> f, std::size_t at) {
  return Le16(f, at) | Le16(f, at + 2) << 16;
}

}  // namespace

bool JpegIsComplete(std::span<const std::uint8_t> f) {
  const std::size_t n = f.size();
  if (n < 4 || f[0] != kMarker || f[1] != kSoi) return false;
  std::size_t i = 2;
  for (;;) {
    i = NextFF(f, i);  // decoders skip stray bytes between segments
    while (i < n && f[i] == kMarker) ++i;
    if (i >= n) return false;
    const std::uint8_t m = f[i++];
    if (m == kEoi) return true;
    if (m == 0x00 || m == kTem || IsRestart(m)) continue;  // no length field
    if (i + 2 > n) return false;
    const std::size_t length = static_cast<std::size_t>(f[i] << 8 | f[i + 1]);
    if (length < 2) return false;
    i += length;
    if (i > n) return false;
    if (m == kSos) {
      i = SkipScan(f, i);
      if (i >= n) return false;
    }
  }
}

bool BmpIsComplete(std::span<const std::uint8_t> f) {
  const std::size_t n = f.size();
  if (n < 26 || f[0] != 'B' || f[1] != 'M') return true;
  const std::uint64_t offBits = Le32(f, 10);
  const std::uint32_t dibSize = Le32(f, 14);
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  if (dibSize == 12) {  // OS/2 core header
    width = Le16(f, 18);
    height = Le16(f, 20);
    bitCount = Le16(f, 24);
  } else {
    if (n < 38) return false;
    width = static_cast<std::int32_t>(Le32(f, 18));
    height = static_cast<std::int32_t>(Le32(f, 22));
    bitCount = Le16(f, 28);
    compression = Le32(f, 30);
    sizeImage = Le32(f, 34);
  }
  constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
  if (compression == kRgb || compression == kBitFields || compression == kAlphaBitFields) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(std::llabs(width)) * bitCount + 31) / 32 * 4;
    return n >= offBits + stride * static_cast<std::uint64_t>(std::llabs(height));
  }
  if ((compression == kRle8 || compression == kRle4) && sizeImage > 0) return n >= offBits + sizeImage;
  return true;
}

}  // namespace planimo
