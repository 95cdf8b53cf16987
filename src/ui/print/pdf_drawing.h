#pragma once

// A PDF drawing's page kept open to be drawn again at the resolution of the
// output it goes to: the bitmap at its zoom, the printer at its dots per
// inch. The view's 96 dpi picture of the paper would print its lines and
// texts as blurred pixels.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

class QPdfDocument;

namespace planimo {

class PdfDrawing {
 public:
  // The page `page` (from 1) of `path`, or nothing when the file no longer
  // opens or its page is no longer `picture` pixels at 96 dpi (the file
  // was changed since the drawing was loaded; the loaded picture is used).
  static std::shared_ptr<PdfDrawing> Open(const QString& path, int page, QSize picture);
  ~PdfDrawing();
  PdfDrawing(const PdfDrawing&) = delete;
  PdfDrawing& operator=(const PdfDrawing&) = delete;

  // The part `clip` of the page drawn `pageSize` pixels large, over white
  // paper, in RGB32 of the clip's size; a null image when it found no
  // memory or the reader could not draw it.
  QImage render(QSize pageSize, const QRect& clip) const;

 private:
  PdfDrawing(std::unique_ptr<QPdfDocument> pdf, int page);
  std::unique_ptr<QPdfDocument> pdf_;
  int page_;
};

}  // namespace planimo
