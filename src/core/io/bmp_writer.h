#pragma once

// Writes a Windows bitmap (24 bits per pixel, bottom-up, no compression) rows
// at a time, so a drawing of a hundred megapixels is written without ever being
// held whole in this format. The file appears under its name only when it
// is complete: a failed write leaves an existing file as it was.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/atomic_write.h"
#include "model/error_numbers.h"

namespace planimo {

// The 54 bytes of file and info header for a width x height 24-bit bitmap;
// false when such a bitmap cannot be described (empty, or past 4 GB).
bool BmpHeader24(int width, int height, std::array<std::uint8_t, 54>& header);

class BmpWriter {
 public:
  BmpWriter() = default;
  ~BmpWriter();
  BmpWriter(const BmpWriter&) = delete;
  BmpWriter& operator=(const BmpWriter&) = delete;

  // Starts the file; number 0 in the report means success. An existing file
  // the user may not write, and a target that is not a regular file (a
  // folder, a device, a pipe), are refused, not replaced.
  ErrorReport Open(const std::string& path, int width, int height);
  // One row of width x 3 bytes in blue, green, red order; the bottom row
  // comes first.
  ErrorReport WriteRow(const std::uint8_t* bgr);
  // `count` rows of 32-bit pixels 0xXXRRGGBB, the first row at `first` and
  // each next one `stride` pixels on (negative for a picture held top-down),
  // packed to 24 bits and written in one go.
  ErrorReport WriteRows32(const std::uint32_t* first, std::ptrdiff_t stride, int count);
  // After the last row: the finished file replaces any file of that name.
  ErrorReport Finish();

 private:
  void Abandon();
  ErrorReport Put(std::size_t bytes);

  int fd_ = -1;
  Replacement file_;
  int width_ = 0;
  int rowsLeft_ = 0;
  std::size_t rowBytes_ = 0;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace planimo
