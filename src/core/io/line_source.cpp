#include "io/line_source.h"

#include <algorithm>
#include <string_view>

#include "io/text_codec.h"

namespace planimo {

namespace {
constexpr std::size_t kPiece = std::size_t{1} << 20;
}

LineSource::LineSource(std::istream& in, std::size_t maxLine) : in_(in), maxLine_(maxLine) {}

std::size_t LineSource::LastLineEnd(const std::string& raw) const {
  const bool le = encoding_ == Encoding::Utf16Le;
  if (!le && encoding_ != Encoding::Utf16Be) return raw.rfind('\n');
  // Line feeds are whole 16-bit units, which start at even offsets.
  for (std::size_t i = raw.size() & ~std::size_t{1}; i >= 2; i -= 2) {
    const char first = raw[i - 2];
    const char second = raw[i - 1];
    if (le ? (first == '\n' && second == 0) : (first == 0 && second == '\n')) return i - 1;
  }
  return std::string::npos;
}

// CP932 text can look like UTF-8 for a piece or more; judged by one piece,
// the rest of such a file would be garbled. So the rest is checked too, up
// to far more than the largest drawing's file, and the stream goes back to
// where it was (a stream that cannot is judged by the piece alone). A
// character never spans an ASCII byte, so each step checks up to the last
// one.
bool LineSource::RestIsUtf8(std::string pending) {
  constexpr std::size_t kLookAhead = std::size_t{256} << 20;
  const std::istream::pos_type start = in_.tellg();
  if (start == std::istream::pos_type(-1)) return true;
  bool valid = true;
  std::string chunk(kPiece, '\0');
  for (std::size_t seen = 0; valid && in_ && seen < kLookAhead; seen += kPiece) {
    in_.read(chunk.data(), static_cast<std::streamsize>(kPiece));
    pending.append(chunk, 0, static_cast<std::size_t>(in_.gcount()));
    std::size_t cut = pending.size();
    while (cut > 0 && static_cast<unsigned char>(pending[cut - 1]) >= 0x80) --cut;
    // At the end, or after a run too long for a line, everything is judged.
    if (!in_ || pending.size() > maxLine_) cut = pending.size();
    valid = IsValidUtf8(std::string_view(pending).substr(0, cut));
    pending.erase(0, cut);
  }
  in_.clear();
  in_.seekg(start);
  return valid;
}

bool LineSource::Refill() {
  if (eof_) return false;
  std::string raw = std::move(carry_);
  carry_.clear();
  const std::size_t had = raw.size();
  raw.resize(had + kPiece);
  in_.read(raw.data() + had, static_cast<std::streamsize>(kPiece));
  raw.resize(had + static_cast<std::size_t>(in_.gcount()));
  if (in_.bad()) {
    damaged_ = true;
    return false;
  }
  if (!in_) eof_ = true;
  if (first_) {
    first_ = false;
    if (raw.starts_with(kUtf8Bom)) {
      encoding_ = Encoding::Utf8;
      raw.erase(0, kUtf8Bom.size());
    } else if (raw.starts_with(kUtf16LeBom) || raw.starts_with(kUtf16BeBom)) {
      encoding_ = raw.starts_with(kUtf16LeBom) ? Encoding::Utf16Le : Encoding::Utf16Be;
      raw.erase(0, kUtf16LeBom.size());
    }
  }
  if (!eof_) {
    // Decode whole lines only: LF is never part of a CP932 character.
    const std::size_t lf = LastLineEnd(raw);
    if (lf == std::string::npos) {
      if (raw.size() > maxLine_) {
        damaged_ = lineTooLong_ = true;
        return false;
      }
      carry_ = std::move(raw);
      return Refill();
    }
    carry_ = raw.substr(lf + 1);
    raw.resize(lf + 1);
  }
  if (encoding_ == Encoding::Unknown) {
    const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) encoding_ = IsValidUtf8(raw) && (eof_ || RestIsUtf8(carry_)) ? Encoding::Utf8 : Encoding::Cp932;
  }
  switch (encoding_) {
    case Encoding::Unknown: decoded_ = std::move(raw); break;
    case Encoding::Utf8: decoded_ = DecodeFileText(std::string(kUtf8Bom) + raw); break;
    case Encoding::Utf16Le: decoded_ = *DecodeUtf16Text(std::string(kUtf16LeBom) + raw); break;
    case Encoding::Utf16Be: decoded_ = *DecodeUtf16Text(std::string(kUtf16BeBom) + raw); break;
    case Encoding::Cp932: decoded_ = DecodeCp932Text(raw); break;
  }
  pos_ = 0;
  return !decoded_.empty();
}

bool LineSource::Next(std::string& line) {
  if (damaged_) return false;
  if (pos_ >= decoded_.size() && !Refill()) return false;
  const std::size_t lf = decoded_.find('\n', pos_);
  const std::size_t end = lf == std::string::npos ? decoded_.size() : lf;
  if (end - pos_ > maxLine_) {
    damaged_ = lineTooLong_ = true;
    return false;
  }
  line.assign(decoded_, pos_, end - pos_);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  pos_ = lf == std::string::npos ? decoded_.size() : lf + 1;
  return true;
}

}  // namespace planimo
