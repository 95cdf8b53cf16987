#pragma once

// The rules that refuse a damaged or impossible picture, whichever decoder
// reads it: a frame header that claims more pixels than the file's bytes can
// carry is refused before anything is allocated, a decoder warning about
// damaged or missing data refuses the decoded picture, and a picture larger
// than the memory the machine can give is not attempted.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace planimo {

// What a JPEG's frame header (its first SOFn marker) declares.
struct JpegFrame {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int components = 0;
  int maxH = 1, maxV = 1;  // largest sampling factors: the MCU is 8·maxH × 8·maxV
  bool arithmetic = false; // arithmetic coding (SOF9..SOF15)
};

// Reads the frame header from the markers before the first scan; nullopt
// when there is none or it is malformed.
std::optional<JpegFrame> ReadJpegFrame(std::span<const std::uint8_t> file);

// The fewest bytes any JPEG of that frame takes: Huffman coding spends at
// least one bit on every MCU of its first scan, whatever the picture shows.
// Arithmetic coding has no such floor (0).
std::uint64_t JpegMinimumBytes(const JpegFrame& frame);

// True when the file cannot hold the picture its frame header declares (or
// has no readable frame header).
bool JpegTooShortForItsSize(std::span<const std::uint8_t> file);

// True when a JPEG decoder's warning says the picture's data is damaged or
// missing: a premature end, corrupt or undecodable entropy-coded data, a
// broken progression. A few stray bytes before a marker, which some writers
// leave, and a bad colour profile cost no pixel and are tolerated.
bool JpegWarningMeansDamage(std::string_view message);

}  // namespace planimo
