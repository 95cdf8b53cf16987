#pragma once

// A large repaint of the map on both cores: the interface thread draws the
// top band of a canvas, a thread of this painter's own the bottom band, each
// through its own painter clipped to its rows. Labels need fonts and glyph
// tables of the thread that draws them, so the helper thread keeps a text
// measurer of its own for their plain glyphs.

#include <QImage>
#include <QRect>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class QPainter;

namespace planimo {

class QtTextMeasurer;

class BandPainter {
 public:
  // `glyphs` null: the caller's own glyph tables (the interface thread's).
  using Draw = std::function<void(QPainter& painter, const QRect& band, const QtTextMeasurer* glyphs)>;

  BandPainter();
  ~BandPainter();
  BandPainter(const BandPainter&) = delete;
  BandPainter& operator=(const BandPainter&) = delete;

  // Draws `area` of `canvas` in two bands, split at row `seam`, at once and
  // returns when both are done. `draw` must only read what it shares
  // between the two.
  void paint(QImage& canvas, const QRect& area, int seam, const Draw& draw);

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  const Draw* job_ = nullptr;
  QImage canvas_;  // shares the pixels of the canvas being drawn
  QRect band_;
  bool quit_ = false;
  std::thread thread_;
};

// One band of `canvas`: a painter of its own, clipped to the band's rows.
void DrawBand(QImage& canvas, const QRect& band, const BandPainter::Draw& draw, const QtTextMeasurer* glyphs);

}  // namespace planimo
