#include "print/pdf_drawing.h"

#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>

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
  QImage paper = AllocatePicture(clip.size(), QImage::Format_RGB32);
  if (paper.isNull()) return paper;
  QPdfDocumentRenderOptions options;
  options.setScaledSize(pageSize);
  // The reader scales a clip by its last pixel's offset from its first,
  // one less than its width and height, over the image's size: given one
  // pixel more each way than the image it fills, it draws at the page's
  // own scale, and strips and bands of one page meet without a jog.
  options.setScaledClipRect(clip.adjusted(0, 0, 1, 1));
  // The reader leaves the paper transparent; a drawing is read on white.
  const QImage drawn = pdf_->render(page_ - 1, clip.size(), options);
  if (drawn.isNull()) return QImage();
  paper.fill(Qt::white);
  QPainter painter(&paper);
  painter.drawImage(0, 0, drawn);
  return paper;
}

}  // namespace planimo
