#include "view/scan_picture.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <climits>
#include <utility>

#include <sys/mman.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older kernels answer EINVAL
#endif

namespace planimo {

namespace {

// How far ahead of the decoder the helper faults pages in, and in what steps.
// A fresh page costs the writer a fault; taken ahead on the other core, the
// decoder finds its rows mapped.
constexpr qsizetype kPrefaultAhead = 64 * 1024 * 1024;
constexpr qsizetype kPrefaultStep = 4 * 1024 * 1024;
constexpr int kLevelRowsPerStep = 32;
constexpr qsizetype kPage = 4096;

struct Mapping {
  void* start;
  std::size_t bytes;
};

void Unmap(void* info) {
  auto* m = static_cast<Mapping*>(info);
  munmap(m->start, m->bytes);
  delete m;
}

// Plain 4K pages: on these machines a fresh buffer in large pages costs far
// more in faults than the small pages a helper thread faults in ahead.
QImage AllocateImage(QSize size, QImage::Format format) {
  if (size.isEmpty()) return QImage();
  const int depth = QImage::toPixelFormat(format).bitsPerPixel();
  const qint64 stride = (qint64(size.width()) * depth + 31) / 32 * 4;
  const qint64 bytes = stride * size.height();
  if (stride > INT_MAX) return QImage();
  void* pixels = mmap(nullptr, std::size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pixels == MAP_FAILED) return QImage();
#ifdef MADV_NOHUGEPAGE
  madvise(pixels, std::size_t(bytes), MADV_NOHUGEPAGE);
#endif
  auto* mapping = new Mapping{pixels, std::size_t(bytes)};
  QImage image(static_cast<uchar*>(pixels), size.width(), size.height(), stride, format, Unmap, mapping);
  if (image.isNull()) Unmap(mapping);
  return image;
}

// Faults [from, to) in for writing without changing a byte: the decoder may
// already be writing the first of these pages.
void Prefault(uchar* from, uchar* to) {
  if (madvise(from, std::size_t(to - from), MADV_POPULATE_WRITE) == 0) return;
  for (uchar* p = from; p < to; p += kPage) __atomic_fetch_or(p, uchar(0), __ATOMIC_RELAXED);
}

}  // namespace

void HalveRow(const uchar* above, const uchar* below, int sourceWidth, int bytesPerPixel, uchar* out) {
  const int pairs = sourceWidth / 2;
  const int b = bytesPerPixel;
  if (b == 4) {
    for (int x = 0; x < pairs; ++x) {
      const uchar* a = above + 8 * x;
      const uchar* c = below + 8 * x;
      uchar* o = out + 4 * x;
      for (int k = 0; k < 4; ++k) o[k] = uchar((a[k] + a[k + 4] + c[k] + c[k + 4] + 2) >> 2);
    }
  } else {
    for (int x = 0; x < pairs; ++x) {
      out[x] = uchar((above[2 * x] + above[2 * x + 1] + below[2 * x] + below[2 * x + 1] + 2) >> 2);
    }
  }
  if (sourceWidth % 2 == 1) {
    const int last = sourceWidth - 1;
    for (int k = 0; k < b; ++k) {
      const int s = above[last * b + k] + below[last * b + k];
      out[pairs * b + k] = uchar((2 * s + 2) >> 2);
    }
  }
}

void HalveMonoRow(const uchar* above, const uchar* below, int sourceWidth, const QRgb greys[2], uchar* out) {
  // A box's grey for n of its four pixels set.
  std::array<uchar, 5> grey{};
  for (int n = 0; n <= 4; ++n) grey[n] = uchar((n * qGray(greys[1]) + (4 - n) * qGray(greys[0]) + 2) >> 2);
  // Each byte's four pairs of pixels, as the count of set pixels in each
  // pair, one count a byte: two rows' counts add without carrying.
  static const std::array<std::uint32_t, 256> pairs = [] {
    std::array<std::uint32_t, 256> t{};
    for (int b = 0; b < 256; ++b)
      for (int j = 0; j < 4; ++j) t[b] |= std::uint32_t(std::popcount(unsigned(b >> (6 - 2 * j)) & 3u)) << (8 * j);
    return t;
  }();
  const int outWidth = sourceWidth / 2;
  int x = 0;
  for (int i = 0; x < outWidth; ++i) {
    const std::uint32_t counts = pairs[above[i]] + pairs[below[i]];
    for (int j = 0; j < 4 && x < outWidth; ++j, ++x) out[x] = grey[(counts >> (8 * j)) & 0xFF];
  }
  if (sourceWidth % 2 == 1) {
    const int last = sourceWidth - 1;
    const auto bit = [last](const uchar* row) { return (row[last / 8] >> (7 - last % 8)) & 1; };
    out[outWidth] = grey[2 * (bit(above) + bit(below))];
  }
}

std::shared_ptr<ScanPicture> ScanPicture::Allocate(QSize size, QImage::Format format, bool withLevels) {
  std::shared_ptr<ScanPicture> p(new ScanPicture);
  p->levels_[0].image = AllocateImage(size, format);
  if (p->levels_[0].image.isNull()) return nullptr;
  p->levels_[0].pixels = const_cast<uchar*>(std::as_const(p->levels_[0].image).constBits());
  if (withLevels && !p->allocateLevels()) p->levelCount_ = 1;  // painted from the full image alone
  return p;
}

std::shared_ptr<ScanPicture> ScanPicture::Wrap(QImage complete, bool withLevels) {
  std::shared_ptr<ScanPicture> p(new ScanPicture);
  const int height = complete.height();
  p->levels_[0].image = std::move(complete);
  p->levels_[0].pixels = nullptr;  // never written
  p->levels_[0].rows.store(height, std::memory_order_release);
  p->state_.store(kDecoded, std::memory_order_release);
  const QImage& full = p->levels_[0].image;
  const QImage::Format f = full.format();
  const bool halvable = f == QImage::Format_RGB32 || f == QImage::Format_Grayscale8 ||
                        (f == QImage::Format_Mono && full.colorCount() == 2 && qIsGray(full.color(0)) &&
                         qIsGray(full.color(1)));
  if (withLevels && halvable && !p->allocateLevels()) p->levelCount_ = 1;
  return p;
}

bool ScanPicture::allocateLevels() {
  QSize s = size();
  for (int k = 1; k < kMaxLevels; ++k) {
    s = QSize((s.width() + 1) / 2, (s.height() + 1) / 2);
    // Reduced 1-bit scans are grey: a box of black and white is a shade.
    const QImage::Format f = full().format() == QImage::Format_Mono ? QImage::Format_Grayscale8 : full().format();
    QImage image = AllocateImage(s, f);
    if (image.isNull()) return false;
    levels_[k].pixels = const_cast<uchar*>(std::as_const(image).constBits());
    levels_[k].image = std::move(image);
    levelCount_ = k + 1;
  }
  return true;
}

QImage ScanPicture::readyPart(int level) const {
  const Level& l = levels_[level];
  const int rows = l.rows.load(std::memory_order_acquire);
  if (rows == l.image.height()) return l.image;
  if (rows == 0) return QImage();
  QImage part(l.image.constBits(), l.image.width(), rows, l.image.bytesPerLine(), l.image.format());
  part.setColorTable(l.image.colorTable());
  part.setDotsPerMeterX(l.image.dotsPerMeterX());
  part.setDotsPerMeterY(l.image.dotsPerMeterY());
  return part;
}

void ScanPicture::setDotsPerMeter(int x, int y) {
  QImage& full = levels_[0].image;
  full.setDotsPerMeterX(x);  // metadata only: the pixels stay where they are
  full.setDotsPerMeterY(y);
  levels_[0].pixels = const_cast<uchar*>(std::as_const(full).constBits());
}

void ScanPicture::notify() {
  events_.fetch_add(1, std::memory_order_acq_rel);
  events_.notify_all();
}

void ScanPicture::publishRows(int rows) {
  levels_[0].rows.store(rows, std::memory_order_release);
  notify();
}

void ScanPicture::finishDecode(bool ok) {
  state_.store(ok ? kDecoded : kFailed, std::memory_order_release);
  notify();
}

void ScanPicture::cancel() {
  cancelled_.store(true, std::memory_order_release);
  notify();
}

void ScanPicture::resume() { cancelled_.store(false, std::memory_order_release); }

bool ScanPicture::prefaultSome(qsizetype& faulted) {
  if (!levels_[0].pixels || decodeFinished()) return false;
  const qsizetype stride = full().bytesPerLine();
  const qsizetype total = stride * full().height();
  const qsizetype written = stride * readyRows(0);
  faulted = std::max(faulted, written / kPage * kPage);
  const qsizetype target = std::min(total, written + kPrefaultAhead);
  if (faulted >= target) return false;
  const qsizetype end = std::min(target, faulted + kPrefaultStep);
  Prefault(levels_[0].pixels + faulted, levels_[0].pixels + end);
  faulted = end;
  return true;
}

bool ScanPicture::buildSomeLevelRows() {
  for (int k = 1; k < levelCount_; ++k) {
    const Level& source = levels_[k - 1];
    Level& level = levels_[k];
    const int sourceRows = source.rows.load(std::memory_order_acquire);
    const bool sourceDone = sourceRows == source.image.height() && (k > 1 || decodeOk());
    const int target = sourceDone ? level.image.height() : sourceRows / 2;
    const int from = level.rows.load(std::memory_order_relaxed);
    if (from >= target) continue;
    const int to = std::min(target, from + kLevelRowsPerStep);
    const qsizetype inStride = source.image.bytesPerLine();
    const qsizetype outStride = level.image.bytesPerLine();
    const uchar* in = source.image.constBits();
    const int bytes = source.image.depth() / 8;
    const bool mono = source.image.format() == QImage::Format_Mono;
    const QRgb greys[2] = {mono ? source.image.color(0) : 0, mono ? source.image.color(1) : 0};
    for (int y = from; y < to; ++y) {
      const int below = std::min(2 * y + 1, source.image.height() - 1);
      if (mono)
        HalveMonoRow(in + 2 * y * inStride, in + below * inStride, source.image.width(), greys,
                     level.pixels + y * outStride);
      else
        HalveRow(in + 2 * y * inStride, in + below * inStride, source.image.width(), bytes,
                 level.pixels + y * outStride);
    }
    level.rows.store(to, std::memory_order_release);
    return true;
  }
  return false;
}

void ScanPicture::buildBehind() {
  qsizetype faulted = 0;
  for (;;) {
    const unsigned seen = events_.load(std::memory_order_acquire);
    if (cancelled()) return;
    const int state = state_.load(std::memory_order_acquire);
    if (state == kFailed) return;
    if (prefaultSome(faulted)) continue;
    if (buildSomeLevelRows()) continue;
    if (state == kDecoded) return;  // nothing left to build
    events_.wait(seen, std::memory_order_acquire);
  }
}

}  // namespace planimo
