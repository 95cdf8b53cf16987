#include "print/pdf_drawing.h"

#include <QPdfDocument>

#include "view/image_loader.h"
#include "view/pdf_page.h"

namespace planimo {

PdfDrawing::PdfDrawing(std::unique_ptr<QPdfDocument> pdf, int page) : pdf_(std::move(pdf)), page_(page) {}

PdfDrawing::~PdfDrawing() = default;

std::shared_ptr<PdfDrawing> PdfDrawing::Open(const QString& path, int page, QSize picture) {
  // The same checks as when the drawing was opened: a file since cut short
  // or damaged is not drawn from.
  const ImageProbe probe = ProbePdf(path, page);
  if (!probe.result.ok || probe.size != picture) return nullptr;
  auto pdf = std::make_unique<QPdfDocument>();
  if (pdf->load(path) != QPdfDocument::Error::None || page < 1 || page > pdf->pageCount()) return nullptr;
  return std::shared_ptr<PdfDrawing>(new PdfDrawing(std::move(pdf), page));
}

QImage PdfDrawing::render(QSize pageSize, const QRect& clip) const {
  if (clip.isEmpty() || pageSize.isEmpty()) return QImage();
  return RenderPdfPart(*pdf_, page_, pageSize, clip);
}

}  // namespace planimo
