#include "print/page_printer.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <future>
#include <system_error>

#include "io/atomic_write.h"
#include "print/box_reduce.h"
#include "print/page_layout.h"
#include "print/pdf_drawing.h"
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

// Source rows turned into 32-bit colour at a time, for pictures held in
// other formats: few enough to stay small beside a scan of a gigabyte.
constexpr int kBandRows = 64;

// A 1-bit scan in shades of grey, reduced to 8-bit grey.
bool GreyMono(const QImage& image) {
  const QList<QRgb> table = image.colorTable();
  return image.format() == QImage::Format_Mono &&
         std::all_of(table.begin(), table.end(), [](QRgb c) { return qIsGray(c); });
}

// Rows [top, top + rows) of `image` as opaque 32-bit colour over the paper,
// or as 8-bit grey for a grey 1-bit scan.
QImage OpaqueBand(const QImage& image, int top, int rows) {
  if (GreyMono(image)) {
    return image.copy(0, top, image.width(), rows).convertToFormat(QImage::Format_Grayscale8);
  }
  QImage band(image.width(), rows, QImage::Format_RGB32);
  if (band.isNull()) return band;
  band.fill(QColor(255, 255, 255));
  QPainter painter(&band);
  painter.drawImage(QPoint(0, 0), image, QRect(0, top, image.width(), rows));
  return band;
}

// Output rows [from, to) of `image` reduced to `size`, into `out` (rows of
// `stride` bytes); false when a band of source rows found no memory.
bool ReduceRows(const QImage& image, QSize size, int bytesPerPixel, uchar* out, qsizetype stride, int from, int to) {
  BoxReducer reducer(image.width(), image.height(), size.width(), size.height(), bytesPerPixel);
  reducer.startAt(from);
  const int first = reducer.sourceRowOf(from), last = reducer.sourceRowOf(to);
  const bool direct = image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_RGB32;
  QImage band;
  for (int y = first; y < last; ++y) {
    const uchar* row = nullptr;
    if (direct) {
      row = image.constScanLine(y);
    } else {
      if ((y - first) % kBandRows == 0) band = OpaqueBand(image, y, std::min(kBandRows, last - y));
      if (band.isNull()) return false;
      row = band.constScanLine((y - first) % kBandRows);
    }
    if (reducer.add(row)) {
      std::memcpy(out + reducer.rowIndex() * stride, reducer.row(), std::size_t(size.width()) * bytesPerPixel);
    }
  }
  return true;
}

// The image brought down to the pixels it covers on the paper, so a huge
// scan does not travel whole to the printer or into the PDF; a null picture
// when the reduced one does not fit in memory. Qt's smooth scaling reads
// 32-bit colour in place, and quickest; any other format it first copies
// whole into 32 bits (four bytes a pixel of a grey scan), so those are
// reduced from the source a row at a time instead, the lower half on a
// thread of its own.
QImage AtDeviceSize(const QImage& image, const RectMm& onPage, int dpi) {
  const QSize device(std::max(1, static_cast<int>(std::ceil(onPage.width / kMmPerInch * dpi))),
                     std::max(1, static_cast<int>(std::ceil(onPage.height / kMmPerInch * dpi))));
  if (image.width() <= device.width() && image.height() <= device.height()) return image;
  const QSize size = device.boundedTo(image.size());
  if (image.format() == QImage::Format_RGB32) {
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  const bool grey = image.format() == QImage::Format_Grayscale8 || GreyMono(image);
  QImage out(size, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
  if (out.isNull()) return out;
  const int bytesPerPixel = grey ? 1 : 4;
  uchar* bits = out.bits();  // once: detaching from two threads would race
  const qsizetype stride = out.bytesPerLine();
  const int half = size.height() / 2;
  const auto lowerHalf = [&] { return ReduceRows(image, size, bytesPerPixel, bits, stride, half, size.height()); };
  std::future<bool> lower;
  try {
    lower = std::async(std::launch::async, lowerHalf);
  } catch (const std::system_error&) {
    lower = std::async(std::launch::deferred, lowerHalf);  // no thread to be had: done after the upper half
  }
  const bool upper = ReduceRows(image, size, bytesPerPixel, bits, stride, 0, half);
  if (!lower.get() || !upper) return QImage();
  return out;
}

// Device pixels drawn from a PDF page at a time: one band of rows, so a
// page at the printer's resolution never stands whole in memory.
constexpr qint64 kPdfBandPixels = 4'000'000;

int DeviceEdge(double v) { return static_cast<int>(std::lround(v)); }

// The part `clip` of the PDF page drawn `pageSize` device pixels large,
// with the clip's top-left corner at device pixel `at`, band by band; false
// when a band could not be drawn.
bool PrintPdfPart(QPainter& painter, const PdfDrawing& pdf, QSize pageSize, const QRect& clip, QPoint at) {
  if (clip.isEmpty()) return true;
  const int rows = static_cast<int>(std::clamp<qint64>(kPdfBandPixels / clip.width(), 1, clip.height()));
  painter.save();
  painter.resetTransform();  // device pixels: each band lands on whole dots, unscaled
  bool drawn = true;
  for (int top = 0; top < clip.height() && drawn; top += rows) {
    const QRect band(clip.left(), clip.top() + top, clip.width(), std::min(rows, clip.height() - top));
    const QImage image = pdf.render(pageSize, band);
    drawn = !image.isNull();
    if (drawn) painter.drawImage(at + QPoint(0, top), image);
  }
  painter.restore();
  return drawn;
}

// A rectangle of the page in millimetres as whole device pixels.
QRect DeviceRect(const RectMm& r, int dpi) {
  const double perMm = dpi / kMmPerInch;
  const QPoint topLeft(DeviceEdge(r.left * perMm), DeviceEdge(r.top * perMm));
  const QPoint end(DeviceEdge((r.left + r.width) * perMm), DeviceEdge((r.top + r.height) * perMm));
  return QRect(topLeft, QSize(std::max(1, end.x() - topLeft.x()), std::max(1, end.y() - topLeft.y())));
}

PrintOutcome NoPicture() { return PrintOutcome{0, {kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)}}; }

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
  const bool fromPdf = imageRect && surface.pdf;
  QImage image;
  if (imageRect && !fromPdf) {
    image = AtDeviceSize(surface.image, *imageRect, printer.resolution());
    // A page without its picture is no print.
    if (image.isNull()) return NoPicture();
  }

  QPainter painter;
  if (!painter.begin(&printer)) return PrintOutcome{0, Refused(printer)};
  ScaleToSurfacePixels(painter, printer);
  if (fromPdf) {
    // The PDF page drawn at the printer's dots over the area it covers.
    const QRect device = DeviceRect(*imageRect, printer.resolution());
    if (!PrintPdfPart(painter, *surface.pdf, device.size(), QRect(QPoint(0, 0), device.size()), device.topLeft())) {
      painter.end();
      return NoPicture();
    }
  } else if (imageRect) {
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
  // Each tile ends where the next begins, both edges rounded alike: the
  // pages meet without a doubled or a lost pixel row or column.
  const auto edge = [](double mm) { return static_cast<int>(std::lround(MmToPx(mm))); };
  const QSize tilePx(static_cast<int>(std::ceil(MmToPx(page.width))) + 1,
                     static_cast<int>(std::ceil(MmToPx(page.height))) + 1);
  // A PDF page is drawn at the printer's dots, the records over it; a
  // raster drawing is composed a tile at a time at its screen size.
  QImage tile;
  if (!surface.pdf) {
    tile = QImage(tilePx, QImage::Format_RGB32);
    if (tile.isNull()) return NoPicture();
  }
  const double devicePerPx = printer.resolution() / kMmPerInch * kMmPerPixel;
  const QSize pdfPage(DeviceEdge(surface.sizePx().width() * devicePerPx),
                      DeviceEdge(surface.sizePx().height() * devicePerPx));

  QPainter painter;
  if (!painter.begin(&printer)) return PrintOutcome{0, Refused(printer)};
  ScaleToSurfacePixels(painter, printer);
  int pages = 0;
  for (const RectMm& t : tiles) {
    if (pages > 0 && !printer.newPage()) return PrintOutcome{pages, {kErrPrinter, "改ページできませんでした。"}};
    const QPoint origin(edge(t.left), edge(t.top));
    const QSize extent(edge(t.left + t.width) - origin.x(), edge(t.top + t.height) - origin.y());
    // Past the drawing's right and bottom edges the page stays blank.
    const QSize used = (surface.sizePx() - QSize(origin.x(), origin.y())).boundedTo(extent.boundedTo(tilePx));
    if (surface.pdf) {
      const QPoint from(DeviceEdge(origin.x() * devicePerPx), DeviceEdge(origin.y() * devicePerPx));
      const QPoint to(DeviceEdge((origin.x() + used.width()) * devicePerPx),
                      DeviceEdge((origin.y() + used.height()) * devicePerPx));
      if (!PrintPdfPart(painter, *surface.pdf, pdfPage, QRect(from, QSize(to.x() - from.x(), to.y() - from.y())),
                        QPoint(0, 0))) {
        painter.end();
        return NoPicture();
      }
      painter.save();
      painter.setClipRect(QRectF(QPointF(0, 0), QSizeF(used)));
      painter.translate(-origin);
      PaintPlan(painter, plan, doc.measurer.get(), QRectF(QPointF(origin), QSizeF(used)));
      painter.restore();
    } else {
      if (!ComposeRegion(tile, origin, surface, plan, doc.measurer.get())) {
        painter.end();
        return NoPicture();
      }
      painter.drawImage(QRectF(QPointF(0, 0), QSizeF(used)), tile, QRectF(QPointF(0, 0), QSizeF(used)));
    }
    ++pages;
  }
  return Finish(painter, printer, pages);
}

PrintOutcome PrintByMethod(QPrinter& printer, int method, const Surface& surface, const Document& doc) {
  if (method == kPrintTiled) return PrintTiled(printer, surface, doc);
  return PrintScaled(printer, method, surface, doc);
}

// Whether a PDF the engine wrote is whole: it ends in its trailer, and the
// cross-reference table stands where the trailer says. The engine reports
// no failed write (a full disk, a file size limit); a file cut short, or
// one a piece went missing from, fails here.
bool PdfIsWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
  if (size < 32) return false;
  const std::streamoff tailSize = std::min<std::streamoff>(size, 1024);
  std::string tail(static_cast<std::size_t>(tailSize), '\0');
  in.seekg(size - tailSize);
  if (!in.read(tail.data(), tailSize)) return false;
  const std::size_t last = tail.find_last_not_of("\r\n ");
  if (last == std::string::npos || last < 4 || tail.compare(last - 4, 5, "%%EOF") != 0) return false;
  const std::size_t at = tail.rfind("startxref");
  if (at == std::string::npos) return false;
  const long long offset = std::strtoll(tail.c_str() + at + 9, nullptr, 10);
  if (offset <= 0 || offset >= size) return false;
  char xref[4] = {};
  in.seekg(offset);
  return in.read(xref, 4) && std::memcmp(xref, "xref", 4) == 0;
}

}  // namespace

PrintOutcome PrintDrawing(QPrinter& printer, int method, const Surface& surface, const Document& doc) {
  if (printer.outputFormat() != QPrinter::PdfFormat) return PrintByMethod(printer, method, surface, doc);
  // Into a file as every file is written: a temporary file beside it, put
  // in its place only when whole; the older file stays until then.
  const QString target = printer.outputFileName();
  Replacement file;
  if (std::optional<ErrorReport> refused = BeginReplacement(target.toStdString(), file)) {
    return PrintOutcome{0, *refused};
  }
  printer.setOutputFileName(QString::fromStdString(file.temp));
  PrintOutcome outcome = PrintByMethod(printer, method, surface, doc);
  printer.setOutputFileName(target);
  if (outcome.error.number == 0 && outcome.pages > 0) {
    if (!PdfIsWhole(file.temp)) {
      outcome = PrintOutcome{0, WriteFailureCause(file)};
    } else if (std::optional<ErrorReport> failed = CommitReplacement(file)) {
      outcome = PrintOutcome{0, *failed};
    } else {
      return outcome;
    }
  }
  AbandonReplacement(file);
  // Messages name the user's file, not the temporary one.
  for (std::size_t at; (at = outcome.error.description.find(file.temp)) != std::string::npos;) {
    outcome.error.description.replace(at, file.temp.size(), file.shown);
  }
  return outcome;
}

}  // namespace planimo
