#include "view/band_painter.h"

#include <QPainter>
#include <memory>

#include "view/qt_text_measurer.h"

namespace planimo {

void DrawBand(QImage& canvas, const QRect& band, const BandPainter::Draw& draw, const QtTextMeasurer* glyphs) {
  QPainter painter(&canvas);
  painter.setClipRect(band);
  draw(painter, band, glyphs);
}

BandPainter::BandPainter() : thread_([this] { run(); }) {}

BandPainter::~BandPainter() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void BandPainter::paint(QImage& canvas, const QRect& area, int seam, const Draw& draw) {
  const QRect top(area.left(), area.top(), area.width(), seam - area.top());
  const QRect bottom(area.left(), seam, area.width(), area.bottom() + 1 - seam);
  uchar* pixels = canvas.bits();  // detached once, here
  {
    std::lock_guard lock(mutex_);
    // A second picture over the same pixels: a painter of its own, so the
    // two bands never share a paint engine.
    canvas_ = QImage(pixels, canvas.width(), canvas.height(), canvas.bytesPerLine(), canvas.format());
    canvas_.setDotsPerMeterX(canvas.dotsPerMeterX());
    canvas_.setDotsPerMeterY(canvas.dotsPerMeterY());
    band_ = bottom;
    job_ = &draw;
  }
  wake_.notify_one();
  DrawBand(canvas, top, draw, nullptr);
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return job_ == nullptr; });
  canvas_ = QImage();
}

void BandPainter::run() {
  // Fonts and raw fonts belong to the thread that made them.
  const auto glyphs = std::make_unique<QtTextMeasurer>();
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || job_ != nullptr; });
    if (quit_) return;
    lock.unlock();
    DrawBand(canvas_, band_, *job_, glyphs.get());
    lock.lock();
    job_ = nullptr;
    done_.notify_one();
  }
}

}  // namespace planimo
