#include "print/bitmap_export.h"

#include <algorithm>
#include <future>
#include <system_error>

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
  // Two strips: one is composed while the other is packed and written on
  // a thread of its own, so the disk and the painting overlap.
  QImage strips[2] = {QImage(size.width(), rows, QImage::Format_RGB32),
                      QImage(size.width(), rows, QImage::Format_RGB32)};
  if (strips[0].isNull() || strips[1].isNull()) return {kErrOutOfMemory, ErrorDescription(kErrOutOfMemory, file)};
  std::future<ErrorReport> writing;
  // The file runs from the bottom row up, so the strips do too.
  int n = 0;
  for (int bottom = size.height(); bottom > 0; bottom -= rows, ++n) {
    QImage& strip = strips[n % 2];
    const bool composed = ComposeRegion(strip, QPoint(0, bottom - rows), surface, plan, doc.measurer.get());
    if (writing.valid()) {
      if (ErrorReport r = writing.get(); r.number != 0) return r;
    }
    // A bitmap with a strip of its drawing missing is no export.
    if (!composed) return {kErrOutOfMemory, ErrorDescription(kErrOutOfMemory, file)};
    const int count = std::min(rows, bottom);  // the top strip may reach above the picture
    const auto* last = reinterpret_cast<const std::uint32_t*>(strip.constScanLine(rows - 1));
    const std::ptrdiff_t stride = -static_cast<std::ptrdiff_t>(strip.bytesPerLine() / 4);
    auto write = [&writer, last, stride, count] { return writer.WriteRows32(last, stride, count); };
    try {
      writing = std::async(std::launch::async, write);
    } catch (const std::system_error&) {
      writing = std::async(std::launch::deferred, write);  // no thread to be had: written on get()
    }
  }
  if (ErrorReport r = writing.get(); r.number != 0) return r;
  return writer.Finish();
}

}  // namespace planimo
