#include "io/bmp_writer.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace planimo {

namespace {

constexpr std::size_t kHeaderSize = 54;
constexpr std::size_t kWriteBuffer = 1 << 20;

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

std::uint64_t RowBytes(int width) { return (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4; }

}  // namespace

bool BmpHeader24(int width, int height, std::array<std::uint8_t, 54>& h) {
  if (width <= 0 || height <= 0) return false;
  const std::uint64_t image = RowBytes(width) * static_cast<std::uint64_t>(height);
  if (image + kHeaderSize > 0xFFFFFFFFull) return false;
  h.fill(0);
  h[0] = 'B';
  h[1] = 'M';
  Put32(&h[2], static_cast<std::uint32_t>(image + kHeaderSize));  // file size
  Put32(&h[10], kHeaderSize);                                      // offset of the pixels
  Put32(&h[14], 40);                                               // BITMAPINFOHEADER
  Put32(&h[18], static_cast<std::uint32_t>(width));
  Put32(&h[22], static_cast<std::uint32_t>(height));  // positive: bottom row first
  Put16(&h[26], 1);                                   // planes
  Put16(&h[28], 24);                                  // bits per pixel
  Put32(&h[34], static_cast<std::uint32_t>(image));
  Put32(&h[38], 3780);  // 96 dpi in pixels per metre
  Put32(&h[42], 3780);
  return true;
}

BmpWriter::~BmpWriter() { Abandon(); }

void BmpWriter::Abandon() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  file_ = nullptr;
  std::remove(partPath_.c_str());
}

ErrorReport BmpWriter::Open(const std::string& path, int width, int height) {
  Abandon();
  std::array<std::uint8_t, 54> header{};
  if (!BmpHeader24(width, height, header)) return {kErrOverflow, ErrorDescription(kErrOverflow, path)};
  if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return ErrorFromErrno(errno, path);
  path_ = path;
  partPath_ = path + ".part";
  file_ = std::fopen(partPath_.c_str(), "wb");
  if (file_ == nullptr) return ErrorFromErrno(errno, path);
  std::setvbuf(file_, nullptr, _IOFBF, kWriteBuffer);
  width_ = width;
  rowsLeft_ = height;
  padding_ = static_cast<std::size_t>(RowBytes(width) - static_cast<std::uint64_t>(width) * 3);
  if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
    const int err = errno;
    Abandon();
    return ErrorFromErrno(err, path);
  }
  return {};
}

ErrorReport BmpWriter::WriteRow(const std::uint8_t* bgr) {
  if (file_ == nullptr || rowsLeft_ <= 0) return {kErrInvalidArgument, ErrorDescription(kErrInvalidArgument, path_)};
  static constexpr std::uint8_t kZeros[3] = {0, 0, 0};
  const std::size_t bytes = static_cast<std::size_t>(width_) * 3;
  if (std::fwrite(bgr, 1, bytes, file_) != bytes || std::fwrite(kZeros, 1, padding_, file_) != padding_) {
    const int err = errno;
    Abandon();
    return ErrorFromErrno(err, path_);
  }
  --rowsLeft_;
  return {};
}

ErrorReport BmpWriter::Finish() {
  if (file_ == nullptr || rowsLeft_ != 0) {
    Abandon();
    return {kErrInvalidArgument, ErrorDescription(kErrInvalidArgument, path_)};
  }
  const bool flushed = std::fflush(file_) == 0;
  const int err = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) {
    std::remove(partPath_.c_str());
    return ErrorFromErrno(flushed ? errno : err, path_);
  }
  std::error_code ec;
  std::filesystem::rename(partPath_, path_, ec);
  if (ec) {
    std::remove(partPath_.c_str());
    return ErrorFromCode(ec, path_);
  }
  return {};
}

}  // namespace planimo
