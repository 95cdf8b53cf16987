#include "io/image_refusal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace planimo {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& b, std::initializer_list<unsigned> values) {
  for (unsigned v : values) b.push_back(static_cast<std::uint8_t>(v));
}

// SOI, an APP0 stub, a frame header of the given marker and size, an SOS
// stub and `body` bytes of entropy-coded data, then EOI.
Bytes Jpeg(unsigned sof, unsigned width, unsigned height, std::vector<unsigned> sampling,
           std::size_t body) {
  Bytes b;
  Append(b, {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 'J', 'F'});
  const unsigned n = static_cast<unsigned>(sampling.size());
  Append(b, {0xFF, sof, 0x00, 8 + 3 * n, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, n});
  for (unsigned c = 0; c < n; ++c) Append(b, {c + 1, sampling[c], 0});
  Append(b, {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 63, 0});
  b.resize(b.size() + body, 0x55);
  Append(b, {0xFF, 0xD9});
  return b;
}

TEST(ImageRefusal, FrameSizeAgainstTheBytesThatMustCarryIt) {
  const struct {
    const char* what;
    Bytes file;
    std::uint64_t minimum;
    bool tooShort;
  } cases[] = {
      // 60000 × 60000 grey: 7500 × 7500 blocks, one bit each at the least.
      {"huge grey header in a small file", Jpeg(0xC0, 60000, 60000, {0x11}, 100), 7'031'250, true},
      {"4:2:0 colour: 16 × 16 pixel MCUs", Jpeg(0xC2, 60000, 60000, {0x22, 0x11, 0x11}, 100), 1'757'812, true},
      {"a plain 640 × 480 scan", Jpeg(0xC0, 640, 480, {0x11}, 600), 600, false},
      {"ragged edges round up", Jpeg(0xC1, 65, 9, {0x11}, 0), 2, false},  // 9 × 2 blocks
      {"arithmetic coding has no floor", Jpeg(0xC9, 60000, 60000, {0x11}, 10), 0, false},
  };
  for (const auto& c : cases) {
    const std::optional<JpegFrame> frame = ReadJpegFrame(c.file);
    ASSERT_TRUE(frame) << c.what;
    EXPECT_EQ(JpegMinimumBytes(*frame), c.minimum) << c.what;
    EXPECT_EQ(JpegTooShortForItsSize(c.file), c.tooShort) << c.what;
  }
  const JpegFrame f = *ReadJpegFrame(Jpeg(0xC2, 1000, 700, {0x22, 0x11, 0x11}, 0));
  EXPECT_EQ(f.width, 1000u);
  EXPECT_EQ(f.height, 700u);
  EXPECT_EQ(f.components, 3);
  EXPECT_EQ(f.maxH, 2);
  EXPECT_EQ(f.maxV, 2);
}

TEST(ImageRefusal, MalformedHeadersHaveNoFrame) {
  Bytes noFrame{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9};
  Bytes badSampling = Jpeg(0xC0, 64, 64, {0x50}, 0);
  Bytes cutHeader = Jpeg(0xC0, 64, 64, {0x11}, 0);
  cutHeader.resize(12);
  Bytes overlong = Jpeg(0xC0, 64, 64, {0x11}, 0);
  overlong[10] = 0xF0;  // frame length past the end of the file
  for (const Bytes& b : {noFrame, badSampling, cutHeader, overlong, Bytes{}, Bytes{'G', 'I', 'F'}}) {
    EXPECT_FALSE(ReadJpegFrame(b));
    EXPECT_TRUE(JpegTooShortForItsSize(b));
  }
}

TEST(ImageRefusal, DecoderWarningsAboutDamagedDataRefuse) {
  const struct {
    const char* message;
    bool damage;
  } cases[] = {
      {"Corrupt JPEG data: premature end of data segment", true},
      {"Premature end of JPEG file", true},
      {"Corrupt JPEG data: bad Huffman code", true},
      {"Corrupt JPEG data: found marker 0xd9 instead of RST3", true},
      {"Corrupt JPEG data: 689 extraneous bytes before marker 0xd9", true},
      {"Corrupt JPEG data: 17 extraneous bytes before marker 0xd9", true},
      {"Corrupt JPEG data: 3 extraneous bytes before marker 0xd9", false},
      {"Corrupt JPEG data: 16 extraneous bytes before marker 0xc4", false},
      {"Invalid SOS parameters for sequential JPEG", true},
      {"Inconsistent progression sequence for component 0 coefficient 1", true},
      {"Corrupt JPEG data: bad ICC marker", false},
      {"Warning: unknown JFIF revision number 2.01", false},
      {"Unknown Adobe color transform code 3", false},
  };
  for (const auto& c : cases) EXPECT_EQ(JpegWarningMeansDamage(c.message), c.damage) << c.message;
}

// A TIFF page's strips against the pixels they claim: uncompressed rows
// exactly, compressed data no smaller than its coding's best ratio allows,
// and never past the end of the file.
TEST(ImageRefusal, TiffPageDataAgainstThePixelsItClaims) {
  constexpr std::uint64_t kA0Width = 19866, kA0Height = 28087;
  const struct {
    const char* name;
    TiffPage page;
    std::uint64_t fileBytes;
    bool refused;
  } cases[] = {
      {"uncompressed 1-bit, whole", {kA0Width, kA0Height, 1, 1, (kA0Width + 7) / 8 * kA0Height}, 80'000'000, false},
      {"uncompressed 1-bit, a row short", {kA0Width, kA0Height, 1, 1, (kA0Width + 7) / 8 * (kA0Height - 1)}, 80'000'000, true},
      {"G4 of a blank sheet", {kA0Width, kA0Height, 1, 4, kA0Height / 8}, 10'000, false},
      {"G4 claiming a billion rows in a kilobyte", {kA0Width, 1'000'000'000, 1, 4, 1024}, 2048, true},
      {"LZW grey", {4000, 3000, 8, 5, 12'000'000 / 2048}, 20'000'000, false},
      {"LZW grey beyond any ratio", {40000, 30000, 8, 5, 1000}, 20'000'000, true},
      {"Deflate colour beyond any ratio", {40000, 30000, 24, 8, 100'000}, 20'000'000, true},
      {"JPEG has no floor", {40000, 30000, 24, 7, 100}, 20'000'000, false},
      {"strips claim more than the file holds", {100, 100, 8, 1, 10'000}, 9'999, true},
  };
  for (const auto& c : cases) EXPECT_EQ(TiffTooShortForItsSize(c.page, c.fileBytes), c.refused) << c.name;
}

TEST(ImageRefusal, APdfMustRunFromItsHeaderToItsEndMarker) {
  const auto bytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
  const std::string body = "%PDF-1.4\n1 0 obj <<>> endobj\ntrailer <<>>\n%%EOF";
  const struct {
    const char* name;
    std::string text;
    bool complete;
  } cases[] = {
      {"whole", body, true},
      {"trailing newline and padding", body + "\r\n" + std::string(200, '\0'), true},
      {"cut before the end marker", body.substr(0, body.size() - 6), false},
      {"more than a kilobyte after the end marker", body + std::string(5000, ' '), false},
      {"no header", body.substr(1), false},
      {"empty", "", false},
  };
  for (const auto& c : cases) {
    const Bytes b = bytes(c.text);
    EXPECT_EQ(PdfIsComplete(b), c.complete) << c.name;
  }
}

}  // namespace
}  // namespace planimo
