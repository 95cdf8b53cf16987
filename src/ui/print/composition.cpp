#include "print/composition.h"

#include <QPainter>
#include <cmath>

#include "print/pdf_drawing.h"
#include "view/map_view.h"
#include "view/record_painter.h"
#include "view/view_units.h"

namespace planimo {

namespace {

QColor ToQColor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

int RoundPx(double v) { return std::isfinite(v) ? static_cast<int>(std::nearbyint(v)) : 0; }

}  // namespace

void PaintPlan(QPainter& painter, const PrintPlan& plan, const TextMeasurer* measurer, const QRectF& exposed) {
  RecordBatch batch(painter, measurer, exposed);
  for (const PrintItem& item : plan.items) {
    if (const auto* l = std::get_if<LineRecord>(&item)) {
      batch.line(*l);
    } else if (const auto* s = std::get_if<ShapeRecord>(&item)) {
      if (plan.markersToScale) {
        batch.disc(*s);
      } else {
        batch.shape(*s);
      }
    } else {
      batch.label(std::get<TextRecord>(item));
    }
  }
  batch.flush();
}

QSize Surface::sizePx() const {
  if (!hasImage()) return QSize();
  return QSize(RoundPx(fullSize.width() * double(zoom)), RoundPx(fullSize.height() * double(zoom)));
}

SizeMm Surface::sizeMm() const {
  const QSize px = sizePx();
  return SizeMm{PxToMm(px.width()), PxToMm(px.height())};
}

Surface SurfaceOf(const MapView& view, float zoom) {
  Surface s;
  if (!view.hasImage() || view.isLoading()) return s;
  s.image = view.image();
  s.fullSize = view.imageSize();
  s.zoom = zoom;
  if (view.isPdfPage()) s.pdf = PdfDrawing::Open(view.imagePath(), view.imagePage(), s.fullSize);
  return s;
}

bool ComposeRegion(QImage& target, const QPoint& origin, const Surface& surface, const PrintPlan& plan,
                   const TextMeasurer* measurer) {
  const QRectF exposed(QPointF(origin), QSizeF(target.size()));
  if (surface.hasImage() && surface.pdf) {
    // The page drawn again at the zoom, only the part this region shows:
    // as sharp as the PDF is, at a strip's memory.
    const QRect page(QPoint(0, 0), surface.sizePx());
    const QRect clip = QRect(origin, target.size()) & page;
    QImage drawn;
    if (!clip.isEmpty()) {
      drawn = surface.pdf->render(page.size(), clip);
      if (drawn.isNull()) return false;
    }
    if (clip != QRect(origin, target.size())) target.fill(ToQColor(kPrintTextBack));
    QPainter painter(&target);
    painter.translate(-origin);
    if (!drawn.isNull()) painter.drawImage(clip.topLeft(), drawn);
    PaintPlan(painter, plan, measurer, exposed);
    return true;
  }
  const double z = surface.zoom;
  const QRectF image = surface.hasImage()
                           ? QRectF(0, 0, surface.fullSize.width() * z, surface.fullSize.height() * z)
                           : QRectF();
  const QRectF part = exposed & image;
  // Paper shows where the picture does not reach and through its
  // transparent pixels; the target may still hold the previous strip or page.
  if (part != exposed || surface.image.hasAlphaChannel()) target.fill(ToQColor(kPrintTextBack));
  QPainter painter(&target);
  painter.translate(-origin);
  if (surface.hasImage()) {
    // The same sampling as the view's repaint, so the picture is what the
    // user saw.
    if (!part.isEmpty()) {
      const double sx = image.width() / surface.image.width();
      const double sy = image.height() / surface.image.height();
      const QRectF source(part.left() / sx, part.top() / sy, part.width() / sx, part.height() / sy);
      painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
      painter.drawImage(part, surface.image, source);
      painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
  }
  PaintPlan(painter, plan, measurer, exposed);
  return true;
}

QImage ComposeAll(const Surface& surface, const PrintPlan& plan, const TextMeasurer* measurer) {
  QImage out(surface.sizePx(), QImage::Format_RGB32);
  if (out.isNull()) return out;
  if (!ComposeRegion(out, QPoint(0, 0), surface, plan, measurer)) return QImage();
  return out;
}

}  // namespace planimo
