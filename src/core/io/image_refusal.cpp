#include "io/image_refusal.h"

#include <charconv>

namespace planimo {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kSoi = 0xD8;
constexpr std::uint8_t kEoi = 0xD9;
constexpr std::uint8_t kSos = 0xDA;

// SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameMarker(std::uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

std::uint32_t Be16(std::span<const std::uint8_t> f, std::size_t at) {
  return static_cast<std::uint32_t>(f[at] << 8 | f[at + 1]);
}

// Stray bytes a writer may leave before a marker without losing a pixel.
constexpr unsigned kToleratedStrayBytes = 16;

}  // namespace

std::optional<JpegFrame> ReadJpegFrame(std::span<const std::uint8_t> f) {
  const std::size_t n = f.size();
  if (n < 4 || f[0] != kMarker || f[1] != kSoi) return std::nullopt;
  std::size_t i = 2;
  while (i + 4 <= n) {
    if (f[i] != kMarker) {
      ++i;  // decoders skip stray bytes between segments
      continue;
    }
    const std::uint8_t m = f[i + 1];
    if (m == kMarker) {
      ++i;
      continue;
    }
    if (m == kEoi || m == kSos) return std::nullopt;  // no frame before the data
    const std::size_t length = Be16(f, i + 2);
    if (length < 2 || i + 2 + length > n) return std::nullopt;
    if (IsFrameMarker(m)) {
      const std::size_t at = i + 4;
      if (length < 8) return std::nullopt;
      JpegFrame frame;
      frame.height = Be16(f, at + 1);
      frame.width = Be16(f, at + 3);
      frame.components = f[at + 5];
      frame.arithmetic = m >= 0xC9;
      if (frame.components == 0 || length < 8 + 3 * static_cast<std::size_t>(frame.components)) {
        return std::nullopt;
      }
      for (int c = 0; c < frame.components; ++c) {
        const std::uint8_t sampling = f[at + 6 + 3 * static_cast<std::size_t>(c) + 1];
        const int h = sampling >> 4, v = sampling & 0x0F;
        if (h < 1 || h > 4 || v < 1 || v > 4) return std::nullopt;
        if (h > frame.maxH) frame.maxH = h;
        if (v > frame.maxV) frame.maxV = v;
      }
      return frame;
    }
    i += 2 + length;
  }
  return std::nullopt;
}

std::uint64_t JpegMinimumBytes(const JpegFrame& frame) {
  if (frame.arithmetic) return 0;
  const std::uint64_t mcuW = 8u * static_cast<std::uint64_t>(frame.maxH);
  const std::uint64_t mcuH = 8u * static_cast<std::uint64_t>(frame.maxV);
  const std::uint64_t mcus = (frame.width + mcuW - 1) / mcuW * ((frame.height + mcuH - 1) / mcuH);
  return mcus / 8;
}

bool JpegTooShortForItsSize(std::span<const std::uint8_t> file) {
  const std::optional<JpegFrame> frame = ReadJpegFrame(file);
  return !frame || file.size() < JpegMinimumBytes(*frame);
}

std::uint64_t TiffMinimumBytes(const TiffPage& p) {
  const std::uint64_t rowBytes = (p.width * static_cast<std::uint64_t>(p.bitsPerPixel) + 7) / 8;
  const std::uint64_t raw = rowBytes * p.height;
  switch (p.compression) {
    case 1: return raw;                       // none
    case 32773: return raw / 64;              // PackBits: 2 bytes repeat at most 128
    case 5: return raw / 2048;                // LZW: a table of 4096 strings, each one byte longer at best
    case 8:
    case 32946: return raw / 1100;            // Deflate: at most about 1032 to 1
    case 2:
    case 3:
    case 4: return p.height / 8;              // CCITT: at least one bit per row
    default: return 0;
  }
}

bool TiffTooShortForItsSize(const TiffPage& page, std::uint64_t bytesInFile) {
  return page.dataBytes > bytesInFile || page.dataBytes < TiffMinimumBytes(page);
}

bool PdfIsComplete(std::span<const std::uint8_t> file) {
  constexpr std::string_view kHeader = "%PDF-";
  constexpr std::string_view kEnd = "%%EOF";
  constexpr std::size_t kHeaderWindow = 1024;  // some writers put bytes before the header
  constexpr std::size_t kTailWindow = 1024;
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  const std::size_t header = text.find(kHeader);
  if (header == std::string_view::npos || header > kHeaderWindow) return false;
  const std::size_t tail = text.size() > kTailWindow ? text.size() - kTailWindow : 0;
  const std::size_t end = text.rfind(kEnd);
  return end != std::string_view::npos && end >= tail && end > header;
}

bool JpegWarningMeansDamage(std::string_view m) {
  // "Corrupt JPEG data: 3 extraneous bytes before marker 0xd9"
  constexpr std::string_view kStray = "Corrupt JPEG data: ";
  constexpr std::string_view kStrayTail = " extraneous bytes before marker";
  if (m.starts_with(kStray) && m.find(kStrayTail) != std::string_view::npos) {
    unsigned count = 0;
    const std::string_view digits = m.substr(kStray.size());
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    return ec != std::errc() || std::string_view(end, digits.data() + digits.size()).find(kStrayTail) != 0 ||
           count > kToleratedStrayBytes;
  }
  if (m.find("bad ICC marker") != std::string_view::npos) return false;  // colour profile only
  for (const std::string_view sign : {std::string_view("Corrupt JPEG data"), std::string_view("Premature end"),
                                      std::string_view("Invalid SOS parameters"),
                                      std::string_view("Inconsistent progression")}) {
    if (m.find(sign) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace planimo
