#pragma once

// subWrightImage: the drawing as displayed, image and annotations in one
// picture, composed into images of its own and never into the view. A
// region at a time, so a drawing of a hundred megapixels is written or
// printed without a second full-size copy of it.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <memory>

#include "print/print_plan.h"

namespace planimo {

class MapView;
class PdfDrawing;
class TextMeasurer;

// The map surface as the view shows it: the image as loaded, its full pixel
// size (the image held may be a reduced picture of it) and the zoom. A PDF
// page is also kept open, to be drawn again at the output's resolution.
struct Surface {
  QImage image;
  QSize fullSize;
  float zoom = 1.0f;
  std::shared_ptr<const PdfDrawing> pdf;

  bool hasImage() const { return !image.isNull() && !fullSize.isEmpty(); }
  // Pixels at the zoom, rounded as the view rounds them.
  QSize sizePx() const;
  SizeMm sizeMm() const;
};

Surface SurfaceOf(const MapView& view, float zoom);

// Paints the surface pixels `region` (target pixel (0, 0) is the region's
// top-left corner) into `target`, which must be region-sized: the paper
// colour, the image part at the zoom, then the plan's records. `target`
// is RGB32. False when a PDF page found no memory to be drawn in.
bool ComposeRegion(QImage& target, const QPoint& regionOrigin, const Surface& surface, const PrintPlan& plan,
                   const TextMeasurer* measurer);

// The plan's records, in order, with the map view's painter; the painter
// maps one unit to one pixel of the surface. `exposed` culls.
void PaintPlan(QPainter& painter, const PrintPlan& plan, const TextMeasurer* measurer, const QRectF& exposed);

// The whole surface in one image (null when it found no memory); for tests
// and small drawings.
QImage ComposeAll(const Surface& surface, const PrintPlan& plan, const TextMeasurer* measurer);

}  // namespace planimo
