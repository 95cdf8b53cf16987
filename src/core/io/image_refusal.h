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

// What one TIFF page (image file directory) declares.
struct TiffPage {
  std::uint64_t width = 0;
  std::uint64_t height = 0;
  int bitsPerPixel = 1;           // bits per sample × samples per pixel
  int compression = 1;            // the TIFF Compression tag
  std::uint64_t dataBytes = 0;    // the sum of its strip or tile byte counts
};

// The fewest bytes the page's pixel data can take under its compression:
// the uncompressed rows exactly, a bound from the largest ratio PackBits,
// LZW and Deflate can reach, a bit per row for the CCITT codings. JPEG and
// codings not named here have no floor (0).
std::uint64_t TiffMinimumBytes(const TiffPage& page);

// True when the page's data cannot hold the pixels it declares, or the
// strips or tiles it points at run past the end of the file.
bool TiffTooShortForItsSize(const TiffPage& page, std::uint64_t bytesInFile);

// True when the file starts as a PDF and ends with the end-of-file marker
// a writer puts last (a few bytes of trailing whitespace or padding
// allowed): a copy cut short is refused before a reader tries to repair it.
bool PdfIsComplete(std::span<const std::uint8_t> file);

// True when a JPEG decoder's warning says the picture's data is damaged or
// missing: a premature end, corrupt or undecodable entropy-coded data, a
// broken progression. A few stray bytes before a marker, which some writers
// leave, and a bad colour profile cost no pixel and are tolerated.
bool JpegWarningMeansDamage(std::string_view message);

}  // namespace planimo
