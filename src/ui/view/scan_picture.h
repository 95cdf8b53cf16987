#pragma once

// The picture of a drawing as the map view holds it: the image at full
// resolution, filled row by row while a decoder works, and the reduced
// levels (1/2, 1/4, 1/8) built behind it for painting at low zoom. Rows are
// published as they are finished, so the view paints what exists and never
// a row still being written.
//
// Threads: one decoder writes rows and publishes them; one helper
// (BuildBehind) faults the memory in ahead of the decoder and builds the
// levels; the UI thread reads only published rows.

#include <QImage>
#include <QSize>
#include <array>
#include <atomic>
#include <memory>

namespace planimo {

class ScanPicture {
 public:
  static constexpr int kMaxLevels = 4;  // 1, 1/2, 1/4, 1/8

  // An empty picture of `size` in Format_RGB32 or Format_Grayscale8, in
  // plain pages of its own, with room for the levels when `withLevels`.
  // Null when the memory is not there.
  static std::shared_ptr<ScanPicture> Allocate(QSize size, QImage::Format format, bool withLevels);
  // A picture decoded elsewhere, complete; its levels still to be built
  // (8-bit grey ones for a black-and-white Format_Mono picture).
  static std::shared_ptr<ScanPicture> Wrap(QImage complete, bool withLevels);

  QSize size() const { return levels_[0].image.size(); }
  // The full image; complete once decodeFinished() is ok.
  const QImage& full() const { return levels_[0].image; }
  int levelCount() const { return levelCount_; }
  // Published rows of `level` (0 the full image, k the 1/2^k level).
  int readyRows(int level) const { return levels_[level].rows.load(std::memory_order_acquire); }
  bool levelComplete(int level) const { return readyRows(level) == levels_[level].image.height(); }
  bool levelsComplete() const { return levelComplete(levelCount_ - 1); }
  // The published rows of `level` as a picture of their own, sharing the
  // pixels: whatever reads it never reaches a row still being written.
  QImage readyPart(int level) const;

  // The decoder's side.
  void setDotsPerMeter(int x, int y);  // before the first row
  uchar* row(int y) { return levels_[0].pixels + qsizetype(y) * levels_[0].image.bytesPerLine(); }
  void publishRows(int rows);
  // The decode is over: every row (ok) or none more (failed, cancelled).
  void finishDecode(bool ok);
  bool decodeFinished() const { return state_.load(std::memory_order_acquire) != kDecoding; }
  bool decodeOk() const { return state_.load(std::memory_order_acquire) == kDecoded; }

  // Asks the decoder and the helper to stop early.
  void cancel();
  void resume();  // before the helper starts again on a picture whose levels were cut short
  bool cancelled() const { return cancelled_.load(std::memory_order_acquire); }

  // The helper's work, on a thread of its own until the decode is over and
  // the levels are built (or the decode failed or was cancelled).
  void buildBehind();

 private:
  struct Level {
    QImage image;
    uchar* pixels = nullptr;
    std::atomic<int> rows{0};
  };
  enum State : int { kDecoding, kDecoded, kFailed };

  ScanPicture() = default;
  bool allocateLevels();
  bool prefaultSome(qsizetype& faulted);
  bool buildSomeLevelRows();
  void notify();

  std::array<Level, kMaxLevels> levels_;
  int levelCount_ = 1;
  std::atomic<int> state_{kDecoding};
  std::atomic<bool> cancelled_{false};
  std::atomic<unsigned> events_{0};  // bumped on every publish, finish and cancel
};

// One row of a 1/2 level from rows 2y and 2y + 1 of its source (the last
// row and column repeat where the source is odd): every channel the rounded
// mean of a 2 x 2 box. `bytesPerPixel` is 4 (RGB32) or 1 (grey).
void HalveRow(const uchar* above, const uchar* below, int sourceWidth, int bytesPerPixel, uchar* out);
// The same from two rows of a 1-bit picture (most significant bit first)
// whose pixels are `greys[0]` and `greys[1]`, into 8-bit grey.
void HalveMonoRow(const uchar* above, const uchar* below, int sourceWidth, const QRgb greys[2], uchar* out);

}  // namespace planimo
