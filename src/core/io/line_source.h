#pragma once

// Reads a text file line by line in bounded pieces: a line ends at LF or
// CR LF, and a line longer than the limit ends the reading as damage instead
// of filling memory. A UTF-8 or UTF-16 byte-order mark decides the encoding
// for the whole file; without one the first piece with other than ASCII
// does: UTF-8 when it and the rest of the file are valid, otherwise CP932.

#include <cstddef>
#include <istream>
#include <string>

namespace planimo {

class LineSource {
 public:
  explicit LineSource(std::istream& in, std::size_t maxLine = std::size_t{1} << 20);

  // The next line without its line end; false at the end or on damage.
  bool Next(std::string& line);
  // A line was longer than the limit, or the stream failed.
  bool damaged() const { return damaged_; }
  // The damage was a line longer than the limit.
  bool lineTooLong() const { return lineTooLong_; }

 private:
  bool Refill();
  // Index of the last byte of the file's last line end in `raw`, or npos.
  std::size_t LastLineEnd(const std::string& raw) const;
  // Whether `pending` and the bytes still to come are valid UTF-8.
  bool RestIsUtf8(std::string pending);

  std::istream& in_;
  std::size_t maxLine_;
  std::string decoded_;
  std::size_t pos_ = 0;
  std::string carry_;
  enum class Encoding { Unknown, Utf8, Utf16Le, Utf16Be, Cp932 };
  Encoding encoding_ = Encoding::Unknown;
  bool first_ = true;
  bool eof_ = false;
  bool damaged_ = false;
  bool lineTooLong_ = false;
};

}  // namespace planimo
