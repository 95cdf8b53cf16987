#include "print/bitmap_export.h"

#include <algorithm>

#include "io/bmp_writer.h"

namespace planimo {

namespace {

constexpr int kMinStripRows = 16;

}  // namespace

ErrorReport ExportBitmap(const QString& path, const Surface& surface, const Document& doc, qint64 stripPixels) {
  const std::string file = path.toStdString();
  if (!surface.hasImage()) return {kErrInvalidPicture, "画像が読み込まれていません。"};
  const QSize size = surface.sizePx();
  BmpWriter writer;
  if (ErrorReport r = writer.Open(file, size.width(), size.height()); r.number != 0) return r;
  const PrintPlan plan = CompositionPlan(doc);
  const int rows = static_cast<int>(
      std::min<qint64>(size.height(), std::max<qint64>(kMinStripRows, stripPixels / size.width())));
  QImage strip(size.width(), rows, QImage::Format_RGB32);
  if (strip.isNull()) return {kErrOutOfMemory, ErrorDescription(kErrOutOfMemory, file)};
  // The file runs from the bottom row up, so the strips do too.
  for (int bottom = size.height(); bottom > 0; bottom -= rows) {
    const int top = std::max(0, bottom - rows);
    ComposeRegion(strip, QPoint(0, bottom - rows), surface, plan, doc.measurer.get());
    const QImage bgr = strip.convertToFormat(QImage::Format_BGR888);
    for (int y = rows - 1; y >= top - (bottom - rows); --y) {
      if (ErrorReport r = writer.WriteRow(bgr.constScanLine(y)); r.number != 0) return r;
    }
  }
  return writer.Finish();
}

}  // namespace planimo
