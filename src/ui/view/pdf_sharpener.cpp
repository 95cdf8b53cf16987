#include "view/pdf_sharpener.h"

#include <QPdfDocument>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

#include "view/pdf_page.h"

namespace planimo {

namespace {

// The document stays open between renders of the same file: a scroll or a
// zoom step must not parse the whole file again.
struct OpenPdf {
  unsigned source = 0;
  QString path;
  std::unique_ptr<QPdfDocument> pdf;
};

// Renderings run behind the window: the window's own repaint (both of its
// bands) must get the two cores the moment it needs them, or a zoom step
// waits for a slice of the renderer's core. The renderer still has a core
// to itself whenever the window is idle, which is nearly always.
constexpr int kRendererNiceness = 10;

void YieldToTheWindow() { setpriority(PRIO_PROCESS, id_t(gettid()), kRendererNiceness); }

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
  YieldToTheWindow();
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
    if (open.pdf) done.image = RenderPdfPart(*open.pdf, r.page, r.surface, r.clip);
    delivered_(std::move(done));
  }
  // The document belongs to this thread; it goes with it.
  open.pdf.reset();
}

}  // namespace planimo
