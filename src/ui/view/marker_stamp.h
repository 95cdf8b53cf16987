#pragma once

// End-point markers are thousands of identical 7 x 7 pixel discs. Rasterising
// an ellipse for each of them costs far more than copying one drawn disc, so a
// repaint draws the disc once per style and stamps it at every marker.

#include <QColor>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QRect>

class QPainter;

namespace planimo {

class MarkerStamp {
 public:
  // True when a stamp lands on exactly the pixels the ellipse would: the
  // painter only shifts by whole pixels, does not antialias and paints over.
  static bool Fits(const QPainter& painter);

  // Same pixels as painter.drawEllipse(box) with `pen` and a `fill` brush,
  // for a box at whole pixels.
  void Draw(QPainter& painter, const QPen& pen, const QColor& fill, const QRect& box);

 private:
  QPen pen_;
  QColor fill_;
  QSize size_;
  QImage image_;
  int margin_ = 0;
};

}  // namespace planimo
