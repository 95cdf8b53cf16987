#include "io/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace planimo {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One conversion descriptor, closed when it goes out of scope.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Length of the well-formed UTF-8 sequence at `pos`, 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t pos) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
  const std::size_t left = s.size() - pos;
  const unsigned char c = b(0);
  if (c < 0x80) return 1;
  const auto cont = [&](std::size_t i) { return i < left && (b(i) & 0xC0) == 0x80; };
  if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    if (!cont(1) || !cont(2)) return 0;
    if (c == 0xE0 && b(1) < 0xA0) return 0;  // overlong
    if (c == 0xED && b(1) > 0x9F) return 0;  // surrogate
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    if (!cont(1) || !cont(2) || !cont(3)) return 0;
    if (c == 0xF0 && b(1) < 0x90) return 0;  // overlong
    if (c == 0xF4 && b(1) > 0x8F) return 0;  // above U+10FFFF
    return 4;
  }
  return 0;
}

// UTF-8 with every ill-formed byte replaced; used when a byte-order mark
// says the file is UTF-8 although some bytes are not.
std::string RepairUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t pos = 0; pos < s.size();) {
    const std::size_t n = Utf8SequenceLength(s, pos);
    if (n == 0) {
      out += kReplacement;
      ++pos;
    } else {
      out.append(s.substr(pos, n));
      pos += n;
    }
  }
  return out;
}

bool IsCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsCp932Trail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// How many bytes one unreadable CP932 character at `pos` takes: a lead byte
// with a proper trail byte is an unassigned pair and goes as a whole; any
// other bad byte goes alone, so a CR or LF after it is kept.
std::size_t BadCp932Length(std::string_view s, std::size_t pos) {
  const auto c = static_cast<unsigned char>(s[pos]);
  if (IsCp932Lead(c) && pos + 1 < s.size() && IsCp932Trail(static_cast<unsigned char>(s[pos + 1])))
    return 2;
  return 1;
}

// How many bytes one unreadable UTF-16 unit takes: a lone surrogate goes as
// its two bytes, an odd byte at the end alone.
std::size_t BadUtf16Length(std::string_view s, std::size_t pos) { return pos + 1 < s.size() ? 2 : 1; }

// Runs `cd` over `in`. Bad input is replaced with U+FFFD when `lenient`
// (skipping the bytes `badLength` says), otherwise it makes the result empty.
std::optional<std::string> Convert(const Converter& cd, std::string_view in, bool lenient,
                                   std::size_t (*badLength)(std::string_view, std::size_t) = &BadCp932Length) {
  std::string out;
  out.reserve(in.size() * 3 / 2);
  char buffer[4096];
  std::size_t pos = 0;
  while (pos < in.size()) {
    char* src = const_cast<char*>(in.data() + pos);
    std::size_t srcLeft = in.size() - pos;
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t result = iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    pos = in.size() - srcLeft;
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    if (!lenient) return std::nullopt;
    out += kReplacement;
    pos += badLength(in, pos);
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  // Flush any shift state (none for these encodings, but iconv asks for it).
  char* dst = buffer;
  std::size_t dstLeft = sizeof buffer;
  iconv(cd.get(), nullptr, nullptr, &dst, &dstLeft);
  out.append(buffer, static_cast<std::size_t>(dst - buffer));
  return out;
}

std::string DecodeCp932(std::string_view bytes) {
  const Converter cd("UTF-8", "CP932");
  if (!cd.ok()) {
    // Without the converter, keep what is plainly ASCII.
    std::string out;
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) out += c; else out += kReplacement;
    }
    return out;
  }
  return *Convert(cd, bytes, true);
}

// Characters a Japanese Windows system writes as a CP932 neighbour, and the
// character that neighbour reads as.
struct BestFit {
  std::string_view from;
  std::string_view to;
};
constexpr BestFit kCp932BestFit[] = {
    {"\xE3\x80\x9C", "\xEF\xBD\x9E"},  // wave dash U+301C as full-width tilde U+FF5E
    {"\xE2\x80\x96", "\xE2\x88\xA5"},  // double vertical line U+2016 as parallel to U+2225
    {"\xE2\x88\x92", "\xEF\xBC\x8D"},  // minus sign U+2212 as full-width hyphen-minus U+FF0D
    {"\xC2\xA2", "\xEF\xBF\xA0"},      // cent sign U+00A2 as U+FFE0
    {"\xC2\xA3", "\xEF\xBF\xA1"},      // pound sign U+00A3 as U+FFE1
    {"\xC2\xAC", "\xEF\xBF\xA2"},      // not sign U+00AC as U+FFE2
};

// `utf8` with every best-fit character replaced by its CP932 neighbour;
// nothing when it holds none (the usual case).
std::optional<std::string> WithCp932BestFit(std::string_view utf8) {
  std::optional<std::string> out;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const BestFit* hit = nullptr;
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead == 0xC2 || lead == 0xE2 || lead == 0xE3) {  // the lead bytes of the six
      for (const BestFit& f : kCp932BestFit) {
        if (utf8.substr(pos).starts_with(f.from)) hit = &f;
      }
    }
    if (hit == nullptr) {
      if (out) *out += utf8[pos];
      ++pos;
      continue;
    }
    if (!out) out.emplace(utf8.substr(0, pos));
    *out += hit->to;
    pos += hit->from.size();
  }
  return out;
}

}  // namespace

std::optional<std::string> DecodeUtf16Text(std::string_view bytes) {
  const char* from = nullptr;
  if (bytes.starts_with(kUtf16LeBom)) from = "UTF-16LE";
  if (bytes.starts_with(kUtf16BeBom)) from = "UTF-16BE";
  if (from == nullptr) return std::nullopt;
  const Converter cd("UTF-8", from);
  if (!cd.ok()) return std::string(kReplacement);
  return *Convert(cd, bytes.substr(2), true, &BadUtf16Length);
}

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t n = Utf8SequenceLength(bytes, pos);
    if (n == 0) return false;
    pos += n;
  }
  return true;
}

std::string DecodeCp932Text(std::string_view bytes) { return DecodeCp932(bytes); }

std::string DecodeFileText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return RepairUtf8(bytes.substr(kUtf8Bom.size()));
  if (std::optional<std::string> text = DecodeUtf16Text(bytes)) return *std::move(text);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return DecodeCp932(bytes);
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
  const Converter cd("CP932", "UTF-8");
  if (!cd.ok()) return std::nullopt;
  const std::optional<std::string> fitted = WithCp932BestFit(utf8);
  const std::string_view text = fitted ? std::string_view(*fitted) : utf8;
  std::optional<std::string> encoded = Convert(cd, text, false);
  // The converter maps a few more characters to near neighbours (U+00A5 to
  // "\"); those would come back as other text, so they count as not held.
  if (!encoded || DecodeCp932(*encoded) != text) return std::nullopt;
  return encoded;
}

std::string Cp932BestFit(std::string_view utf8) {
  std::optional<std::string> fitted = WithCp932BestFit(utf8);
  return fitted ? *std::move(fitted) : std::string(utf8);
}

std::string_view Cp932Prefix(std::string_view utf8, std::size_t maxBytes) {
  std::size_t used = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t n = Utf8SequenceLength(utf8, pos);
    if (n == 0) n = 1;
    std::size_t width = 2;
    if (n == 1) {
      width = 1;
    } else if (n == 3) {
      const auto b = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[pos + i])); };
      const std::uint32_t cp = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
      if (cp >= 0xFF61 && cp <= 0xFF9F) width = 1;  // half-width katakana
    }
    if (used + width > maxBytes) break;
    used += width;
    pos += n;
  }
  return utf8.substr(0, pos);
}

}  // namespace planimo
