#include "io/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <streambuf>
#include <system_error>

namespace planimo {
namespace {

// Reads a file descriptor it owns; a read error sets the stream's badbit.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd) {}
  ~DescriptorBuffer() override { ::close(fd_); }
  DescriptorBuffer(const DescriptorBuffer&) = delete;
  DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    ssize_t n = 0;
    do {
      n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw std::system_error(errno, std::generic_category());
    if (n == 0) return traits_type::eof();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return traits_type::to_int_type(*gptr());
  }

  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
    off_t target = off;
    if (dir == std::ios_base::cur) {
      const off_t here = ::lseek(fd_, 0, SEEK_CUR);
      if (here < 0) return pos_type(off_type(-1));
      target = here - (egptr() - gptr()) + off;
    }
    const off_t at = ::lseek(fd_, target, dir == std::ios_base::end ? SEEK_END : SEEK_SET);
    if (at < 0) return pos_type(off_type(-1));
    setg(buffer_.data(), buffer_.data(), buffer_.data());
    return pos_type(at);
  }

  pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
    return seekoff(off_type(pos), std::ios_base::beg, which);
  }

 private:
  int fd_;
  std::array<char, 1 << 16> buffer_{};
};

class DescriptorStream : public std::istream {
 public:
  explicit DescriptorStream(int fd) : std::istream(nullptr), buffer_(fd) { rdbuf(&buffer_); }

 private:
  DescriptorBuffer buffer_;
};

// What a name that exists but is no regular file names instead.
ErrorReport NotAFile(mode_t mode, const std::string& path) {
  const char* what = "通常のファイルではありません。";
  if (S_ISDIR(mode)) what = "フォルダーです。";
  if (S_ISFIFO(mode)) what = "FIFO（名前付きパイプ）です。";
  if (S_ISCHR(mode) || S_ISBLK(mode)) what = "デバイスです。";
  if (S_ISSOCK(mode)) what = "ソケットです。";
  return ErrorWithCause(kErrPathFileAccess, what, path);
}

ErrorReport FromOpenError(int err, const std::string& path) {
  if (err == ELOOP) return ErrorWithCause(kErrPathFileAccess, "リンクが循環しています。", path);
  return ErrorFromErrno(err, path);
}

}  // namespace

ErrorReport NotReadableAsFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return FromOpenError(errno, path);
  if (!S_ISREG(st.st_mode)) return NotAFile(st.st_mode, path);
  return ErrorFromErrno(EACCES, path);
}

OpenedFile OpenRegularFile(const std::string& path) {
  OpenedFile out;
  // Without waiting: a FIFO opened for reading otherwise blocks until some
  // writer opens it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) {
      out.missing = true;
    } else {
      out.error = FromOpenError(err, path);
    }
    return out;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    out.error = FromOpenError(errno, path);
    ::close(fd);
    return out;
  }
  if (!S_ISREG(st.st_mode)) {
    out.error = NotAFile(st.st_mode, path);
    ::close(fd);
    return out;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  out.stream = std::make_unique<DescriptorStream>(fd);
  return out;
}

}  // namespace planimo
