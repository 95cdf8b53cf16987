#include "view/label_font.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>

namespace planimo {

namespace {

constexpr qreal kLabelDpi = 96.0;

qreal DeviceDpi(const QPaintDevice* device) {
  if (device && device->logicalDpiY() > 0) return device->logicalDpiY();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchY();
  return kLabelDpi;
}

}  // namespace

QFont LabelFont(const TextRecord& label, const QPaintDevice* device) {
  QFont font(QString::fromStdString(label.FontName));
  // A point covers dpi / 72 pixels on the device; rescale so it covers 96 / 72.
  const qreal points = label.FontSize > 0 ? label.FontSize : 1.0f;
  font.setPointSizeF(points * kLabelDpi / DeviceDpi(device));
  font.setBold(label.FontBold);
  font.setItalic(label.FontItalic);
  font.setUnderline(label.FontUnderline);
  font.setStrikeOut(label.FontStrikethru);
  return font;
}

}  // namespace planimo
