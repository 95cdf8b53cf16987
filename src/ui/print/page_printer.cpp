#include "print/page_printer.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "print/page_layout.h"
#include "view/view_units.h"

namespace planimo {

namespace {

constexpr double kMmPerInch = 25.4;
// A printer's error number: the printer refused the document.
constexpr int kErrPrinter = 482;

SizeMm PrintableMm(const QPrinter& printer) {
  const QRectF r = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  return SizeMm{r.width(), r.height()};
}

// Maps surface pixels (the record painter's unit: millimetres / 0.2645) to
// the device pixels of the page.
void ScaleToSurfacePixels(QPainter& painter, const QPrinter& printer) {
  const double devicePerMm = printer.resolution() / kMmPerInch;
  painter.scale(devicePerMm * kMmPerPixel, devicePerMm * kMmPerPixel);
}

QRectF PxRect(const RectMm& r) { return QRectF(MmToPx(r.left), MmToPx(r.top), MmToPx(r.width), MmToPx(r.height)); }

// The image brought down to the pixels it covers on the paper, so a huge
// scan does not travel whole to the printer or into the PDF.
QImage AtDeviceSize(const QImage& image, const RectMm& onPage, int dpi) {
  const QSize device(std::max(1, static_cast<int>(std::ceil(onPage.width / kMmPerInch * dpi))),
                     std::max(1, static_cast<int>(std::ceil(onPage.height / kMmPerInch * dpi))));
  if (image.width() <= device.width() && image.height() <= device.height()) return image;
  return image.scaled(device.boundedTo(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

ErrorReport Refused(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    // The PDF engine only says no; the file system says why.
    const std::string path = printer.outputFileName().toStdString();
    const bool existed = QFileInfo::exists(printer.outputFileName());
    std::FILE* probe = std::fopen(path.c_str(), "ab");
    if (probe == nullptr) return ErrorFromErrno(errno, path);
    std::fclose(probe);
    if (!existed) std::remove(path.c_str());
    return {kErrPathFileAccess, ErrorDescription(kErrPathFileAccess, path)};
  }
  return {kErrPrinter, "プリンタが印刷を受け付けませんでした。(" + printer.printerName().toStdString() + ")"};
}

PrintOutcome Finish(QPainter& painter, QPrinter& printer, int pages) {
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    return PrintOutcome{0, {kErrPrinter, "印刷中にエラーが発生しました。"}};
  }
  return PrintOutcome{pages, {}};
}

PrintOutcome PrintScaled(QPrinter& printer, int method, const Surface& surface, const Document& doc) {
  const SizeMm page = PrintableMm(printer);
  const PageScale scale = ScaleFor(method, page, surface.sizeMm(), surface.hasImage());
  const std::optional<RectMm> imageRect = ImageOnPage(method, page, surface.sizeMm(), surface.hasImage());
  const PrintPlan plan = PagePlan(doc, scale);
  QImage image;
  if (imageRect) image = AtDeviceSize(surface.image, *imageRect, printer.resolution());

  QPainter painter;
  if (!painter.begin(&printer)) return PrintOutcome{0, Refused(printer)};
  ScaleToSurfacePixels(painter, printer);
  if (imageRect) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(PxRect(*imageRect), image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  }
  const QRectF everything(-1e9, -1e9, 2e9, 2e9);
  PaintPlan(painter, plan, doc.measurer.get(), everything);
  return Finish(painter, printer, 1);
}

// The composed drawing at its screen size, one tile per page.
PrintOutcome PrintTiled(QPrinter& printer, const Surface& surface, const Document& doc) {
  const SizeMm page = PrintableMm(printer);
  const std::vector<RectMm> tiles = TileOrder(surface.sizeMm(), page, surface.hasImage());
  if (!surface.hasImage()) return PrintOutcome{};
  if (tiles.empty()) return PrintOutcome{0, {kErrOverflow, "用紙が小さすぎて印刷できません。"}};
  const PrintPlan plan = CompositionPlan(doc);
  const QSize tilePx(static_cast<int>(std::ceil(MmToPx(page.width))), static_cast<int>(std::ceil(MmToPx(page.height))));
  QImage tile(tilePx, QImage::Format_RGB32);
  if (tile.isNull()) return PrintOutcome{0, {kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)}};

  QPainter painter;
  if (!painter.begin(&printer)) return PrintOutcome{0, Refused(printer)};
  ScaleToSurfacePixels(painter, printer);
  int pages = 0;
  for (const RectMm& t : tiles) {
    if (pages > 0 && !printer.newPage()) return PrintOutcome{pages, {kErrPrinter, "改ページできませんでした。"}};
    const QPoint origin(static_cast<int>(std::lround(MmToPx(t.left))), static_cast<int>(std::lround(MmToPx(t.top))));
    ComposeRegion(tile, origin, surface, plan, doc.measurer.get());
    // Past the drawing's right and bottom edges the page stays blank.
    const QSize used = (surface.sizePx() - QSize(origin.x(), origin.y())).boundedTo(tilePx);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(used)), tile, QRectF(QPointF(0, 0), QSizeF(used)));
    ++pages;
  }
  return Finish(painter, printer, pages);
}

}  // namespace

PrintOutcome PrintDrawing(QPrinter& printer, int method, const Surface& surface, const Document& doc) {
  if (method == kPrintTiled) return PrintTiled(printer, surface, doc);
  return PrintScaled(printer, method, surface, doc);
}

}  // namespace planimo
