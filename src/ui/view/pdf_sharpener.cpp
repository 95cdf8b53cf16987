#include "view/pdf_sharpener.h"

#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <memory>

namespace planimo {

namespace {

// The document stays open between renders of the same file: a scroll or a
// zoom step must not parse the whole file again.
struct OpenPdf {
  unsigned source = 0;
  QString path;
  std::unique_ptr<QPdfDocument> pdf;
};

QImage RenderWith(QPdfDocument& pdf, int page, QSize surface, QRect clip) {
  clip &= QRect(QPoint(0, 0), surface);
  if (clip.isEmpty() || page < 1 || page > pdf.pageCount()) return QImage();
  QPdfDocumentRenderOptions options;
  options.setScaledSize(surface);
  options.setScaledClipRect(clip);
  const QImage rendered = pdf.render(page - 1, clip.size(), options);
  if (rendered.isNull()) return QImage();
  // The reader leaves the paper transparent; the picture under it must not show through.
  QImage paper(clip.size(), QImage::Format_RGB32);
  if (paper.isNull()) return QImage();
  paper.fill(Qt::white);
  QPainter(&paper).drawImage(0, 0, rendered);
  return paper;
}

}  // namespace

PdfSharpener::PdfSharpener(std::function<void(SharpPicture)> delivered)
    : delivered_(std::move(delivered)), worker_([this] { run(); }) {}

PdfSharpener::~PdfSharpener() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.reset();
  }
  wake_.notify_one();
  worker_.join();
}

void PdfSharpener::request(SharpRequest r) {
  {
    const std::lock_guard lock(mutex_);
    waiting_ = std::move(r);
  }
  wake_.notify_one();
}

void PdfSharpener::withdraw() {
  const std::lock_guard lock(mutex_);
  waiting_.reset();
}

void PdfSharpener::run() {
  OpenPdf open;
  for (;;) {
    SharpRequest r;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || waiting_.has_value(); });
      if (stopping_) break;
      r = std::move(*waiting_);
      waiting_.reset();
    }
    if (open.path != r.path || open.source != r.source || !open.pdf) {
      open.pdf = std::make_unique<QPdfDocument>();
      open.path = r.path;
      open.source = r.source;
      if (open.pdf->load(r.path) != QPdfDocument::Error::None) open.pdf.reset();
    }
    SharpPicture done{r.ticket, r.clip & QRect(QPoint(0, 0), r.surface), QImage()};
    if (open.pdf) done.image = RenderWith(*open.pdf, r.page, r.surface, r.clip);
    delivered_(std::move(done));
  }
  // The document belongs to this thread; it goes with it.
  open.pdf.reset();
}

}  // namespace planimo
