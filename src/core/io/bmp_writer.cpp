#include "io/bmp_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace planimo {

namespace {

constexpr std::size_t kHeaderSize = 54;

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
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  AbandonReplacement(file_);
}

ErrorReport BmpWriter::Open(const std::string& path, int width, int height) {
  Abandon();
  std::array<std::uint8_t, 54> header{};
  if (!BmpHeader24(width, height, header)) return {kErrOverflow, ErrorDescription(kErrOverflow, path)};
  if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return ErrorFromErrno(errno, path);
  if (std::optional<ErrorReport> r = BeginReplacement(path, file_, &fd_)) {
    fd_ = -1;
    return *r;
  }
  width_ = width;
  rowsLeft_ = height;
  rowBytes_ = static_cast<std::size_t>(RowBytes(width));
  buffer_.assign(header.begin(), header.end());
  return Put(header.size());
}

ErrorReport BmpWriter::Put(std::size_t bytes) {
  const std::uint8_t* p = buffer_.data();
  while (bytes > 0) {
    const ssize_t n = ::write(fd_, p, bytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : ENOSPC;
      Abandon();
      return ErrorFromErrno(err, file_.shown);
    }
    p += n;
    bytes -= static_cast<std::size_t>(n);
  }
  return {};
}

ErrorReport BmpWriter::WriteRow(const std::uint8_t* bgr) {
  if (fd_ < 0 || rowsLeft_ <= 0) return {kErrInvalidArgument, ErrorDescription(kErrInvalidArgument, file_.shown)};
  buffer_.assign(rowBytes_, 0);
  std::memcpy(buffer_.data(), bgr, static_cast<std::size_t>(width_) * 3);
  --rowsLeft_;
  return Put(rowBytes_);
}

namespace {

// One row of 32-bit pixels as blue, green, red bytes. On a little-endian
// machine a pixel's first three bytes in memory are just these, so each is
// copied whole and the next pixel overwrites its fourth byte: the row end
// needs one byte of room past the row's own pixels.
void PackRow(const std::uint32_t* px, int width, std::uint8_t* out) {
  if constexpr (std::endian::native == std::endian::little) {
    for (int x = 0; x < width; ++x) std::memcpy(out + 3 * x, px + x, 4);
  } else {
    for (int x = 0; x < width; ++x) {
      out[3 * x] = static_cast<std::uint8_t>(px[x]);
      out[3 * x + 1] = static_cast<std::uint8_t>(px[x] >> 8);
      out[3 * x + 2] = static_cast<std::uint8_t>(px[x] >> 16);
    }
  }
}

}  // namespace

ErrorReport BmpWriter::WriteRows32(const std::uint32_t* first, std::ptrdiff_t stride, int count) {
  if (fd_ < 0 || count < 0 || count > rowsLeft_) {
    return {kErrInvalidArgument, ErrorDescription(kErrInvalidArgument, file_.shown)};
  }
  const std::size_t bytes = rowBytes_ * static_cast<std::size_t>(count);
  if (buffer_.size() < bytes + 1) buffer_.resize(bytes + 1);
  const std::size_t pixelBytes = static_cast<std::size_t>(width_) * 3;
  std::uint8_t* out = buffer_.data();
  for (int r = 0; r < count; ++r, out += rowBytes_) {
    PackRow(first + r * stride, width_, out);
    std::memset(out + pixelBytes, 0, rowBytes_ - pixelBytes);  // the row's padding to 4 bytes
  }
  rowsLeft_ -= count;
  return Put(bytes);
}

namespace {

// Swaps the finished file in under the target's name. A plain rename over
// an existing file makes ext4 push all of the new file to the disk before
// it returns, a quarter of a second for a 300 MB drawing; exchanging the two
// names is just as atomic and leaves the writing to the kernel's own time.
bool ExchangeNames(const std::string& from, const std::string& to) {
#ifdef RENAME_EXCHANGE
  struct stat old {};
  if (::lstat(to.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return false;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
    std::remove(from.c_str());
    return true;
  }
#endif
  (void)from;
  (void)to;
  return false;
}

}  // namespace

ErrorReport BmpWriter::Finish() {
  if (fd_ < 0 || rowsLeft_ != 0) {
    Abandon();
    return {kErrInvalidArgument, ErrorDescription(kErrInvalidArgument, file_.shown)};
  }
  const int closed = ::close(fd_);
  const int err = errno;
  fd_ = -1;
  if (closed != 0) {
    AbandonReplacement(file_);
    return ErrorFromErrno(err, file_.shown);
  }
  if (ExchangeNames(file_.temp, file_.target)) return {};
  if (std::optional<ErrorReport> r = CommitReplacement(file_)) return *r;
  return {};
}

}  // namespace planimo
