#include "view/marker_stamp.h"

#include <QPainter>
#include <QTransform>
#include <cmath>

namespace planimo {

bool MarkerStamp::Fits(const QPainter& painter) {
  const QTransform& t = painter.deviceTransform();
  return t.type() <= QTransform::TxTranslate && t.dx() == std::round(t.dx()) && t.dy() == std::round(t.dy()) &&
         !painter.testRenderHint(QPainter::Antialiasing) && painter.opacity() == 1.0 &&
         painter.compositionMode() == QPainter::CompositionMode_SourceOver;
}

void MarkerStamp::Draw(QPainter& painter, const QPen& pen, const QColor& fill, const QRect& box) {
  if (image_.isNull() || pen != pen_ || fill != fill_ || box.size() != size_) {
    pen_ = pen;
    fill_ = fill;
    size_ = box.size();
    // Room for the widest pen on every side.
    margin_ = static_cast<int>(std::ceil(pen.widthF())) + 2;
    image_ = QImage(size_ + QSize(2 * margin_ + 1, 2 * margin_ + 1), QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    QPainter p(&image_);
    p.setPen(pen);
    p.setBrush(fill);
    p.drawEllipse(QRectF(margin_, margin_, size_.width(), size_.height()));
  }
  painter.drawImage(box.topLeft() - QPoint(margin_, margin_), image_);
}

}  // namespace planimo
