// Loading a drawing's image into the map view: the checks, the decode in a
// worker thread with rows shown as they arrive, and the helper that builds
// the reduced levels behind it.

#include <QCoreApplication>
#include <QFileInfo>
#include <chrono>
#include <cmath>

#include "model/error_numbers.h"
#include "view/jpeg_scan.h"
#include "view/map_view.h"

namespace planimo {

namespace {

// From this many pixels a JPEG decodes in the background, its rows shown as
// they arrive (through Qt's reader: a reduced first picture, then the full
// read), and a TIFF page over blank paper; smaller ones decode in well under
// a second.
constexpr qint64 kBackgroundReadPixels = 16'000'000;
constexpr int kPreviewDenominator = 8;  // the cheapest DCT scaling JPEG offers

// Rows arriving from the decoder are shown at most once a frame; the decoder
// publishes them this many at a time.
constexpr std::chrono::milliseconds kFrame(16);
constexpr int kRowsPerFrameCheck = 16;

// A PDF page this large, or from a file this large, is rendered in the
// background: what a page costs grows with its paths and texts, which the
// file's size tells better than the page's.
constexpr qint64 kBackgroundPdfPixels = 4'000'000;  // larger than A2 at 96 dpi
constexpr qint64 kBackgroundPdfBytes = 512 * 1024;

// From this many pixels a picture gets reduced levels for low zooms.
constexpr qint64 kLevelPixels = 4'000'000;

bool IsJpeg(const QByteArray& format) { return format == "jpeg" || format == "jpg"; }

}  // namespace

void MapView::startWholePage() {
  if (!wholePage_) return;
  const std::function<void()> start = std::move(wholePage_);
  wholePage_ = nullptr;
  start();
}

void MapView::joinWorker() {
  if (worker_.joinable()) worker_.join();
}

void MapView::stopHelper() {
  if (!helper_.joinable()) return;
  if (!helped_->levelsComplete()) helped_->cancel();
  helper_.join();
  helped_.reset();
}

// Levels (and, while a decode runs, pages faulted in ahead of it) on a
// thread of their own; the view repaints from them once they are built.
void MapView::buildLevels(const std::shared_ptr<ScanPicture>& picture) {
  stopHelper();
  if (!picture || (picture->levelsComplete() && picture->decodeFinished())) return;
  picture->resume();
  helped_ = picture;
  const unsigned generation = generation_;
  helper_ = std::thread([this, picture, generation] {
    picture->buildBehind();
    if (!picture->levelsComplete()) return;
    QMetaObject::invokeMethod(
        this, [this, generation] { if (generation == generation_) viewport()->update(); }, Qt::QueuedConnection);
  });
}

ImageLoadResult MapView::openImage(const QString& path, int page) {
  if (loading_) {
    // The earlier read finishes first, so that "the view as it was" is a
    // whole picture and not a partial one.
    startWholePage();
    joinWorker();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  }
  // A JPEG cut short is refused by its decoder's warnings, in either reader.
  const ImageProbe probe = ProbeImage(path, false, page);
  if (!probe.result.ok) return probe.result;
  const float zoom = doc_.view.sngZoomPrev;  // the records stand at this factor
  const qint64 pixels = qint64(probe.size.width()) * probe.size.height();
  const bool large = pixels >= kBackgroundReadPixels;

  if (IsJpeg(probe.format)) {
    bool viaQt = false;
    const ImageLoadResult r = openJpeg(path, zoom, large, pixels >= kLevelPixels, viaQt);
    if (!viaQt) return r;
  }
  if (probe.format == "pdf" && (pixels >= kBackgroundPdfPixels || QFileInfo(path).size() >= kBackgroundPdfBytes)) {
    return openInBackground(path, page, probe.size, zoom, true);
  }
  if (probe.format == "tiff" && large) {
    return openInBackground(path, page, probe.size, zoom, false);
  }
  if (!IsJpeg(probe.format) || !large) {
    QImage image;
    ImageLoadResult result = ReadImage(path, image, page);
    if (!result.ok) return result;
    const QSize size = image.size();
    const unsigned generation = ++generation_;
    stopHelper();
    display(Shown{ScanPicture::Wrap(std::move(image), pixels >= kLevelPixels), size, path, page, result.pdfPage}, zoom);
    buildLevels(picture_);
    reportLater(generation, result);
    return result;
  }

  // A large JPEG libjpeg-turbo cannot turn into RGB itself (CMYK): Qt's
  // reader, a reduced first picture, then the full read.
  QImage reduced;
  const ImageLoadResult first = ReadReduced(path, probe.size, kPreviewDenominator, reduced);
  if (!first.ok) return first;
  const unsigned generation = ++generation_;
  stopHelper();
  previous_ = Shown{picture_, fullSize_, path_, page_, pdfPage_};
  loading_ = true;
  awaitingFirst_ = true;
  display(Shown{ScanPicture::Wrap(std::move(reduced), false), probe.size, path}, zoom);
  // The full read starts only now: both reads must run through the whole
  // compressed stream, and side by side on a small machine they halve each
  // other's speed, so the first picture would come barely before the full one.
  worker_ = std::thread([this, path, generation, withLevels = pixels >= kLevelPixels] {
    QImage image;
    ImageLoadResult result = ReadImage(path, image);
    std::shared_ptr<ScanPicture> picture = result.ok ? ScanPicture::Wrap(std::move(image), withLevels) : nullptr;
    QMetaObject::invokeMethod(
        this, [this, generation, result, picture]() { finishFullRead(generation, result, picture); },
        Qt::QueuedConnection);
  });
  return ImageLoadResult{true, true, 0, QString()};
}

// The page is read whole in the worker; until then the view shows blank
// paper of the page's size. A PDF page's visible part is rendered on its
// own first, which is far quicker than the whole page; a TIFF page's strips
// go straight to the worker.
ImageLoadResult MapView::openInBackground(const QString& path, int page, QSize size, float zoom, bool pdf) {
  // Blank paper looks the same at any resolution: a small one keeps the
  // memory for the page itself.
  const int paperScale = pdf ? 8 : 32;
  QImage paper(std::max(1, size.width() / paperScale), std::max(1, size.height() / paperScale),
               pdf ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
  if (paper.isNull()) return ImageFailure(kErrOutOfMemory, QString(), path);
  paper.fill(Qt::white);
  const unsigned generation = ++generation_;
  stopHelper();
  previous_ = Shown{picture_, fullSize_, path_, page_, pdfPage_};
  loading_ = true;
  awaitingFirst_ = false;  // blank paper is no first picture
  const bool withLevels = qint64(size.width()) * size.height() >= kLevelPixels;
  wholePage_ = [this, path, page, generation, withLevels] {
    worker_ = std::thread([this, path, page, generation, withLevels] {
      QImage image;
      ImageLoadResult result = ReadImage(path, image, page);
      std::shared_ptr<ScanPicture> picture = result.ok ? ScanPicture::Wrap(std::move(image), withLevels) : nullptr;
      QMetaObject::invokeMethod(
          this, [this, generation, result, picture]() { finishFullRead(generation, result, picture); },
          Qt::QueuedConnection);
    });
  };
  // A PDF page asks for its visible part; the whole page follows once it is
  // drawn (sharpPictureShown tells when the page shows).
  if (!pdf) startWholePage();
  display(Shown{ScanPicture::Wrap(std::move(paper), false), size, path, page, pdf}, zoom);
  ImageLoadResult r{true, true, 0, QString()};
  r.pdfPage = pdf;
  return r;
}

// A load finished at once says so once the caller is back in the event
// loop; by then another load may have begun, whose own report is the one
// awaited: this one would pass for it.
void MapView::reportLater(unsigned generation, const ImageLoadResult& result) {
  QMetaObject::invokeMethod(
      this, [this, generation, result] { if (generation == generation_) emit imageReady(result); },
      Qt::QueuedConnection);
}

void MapView::clearImage() {
  ++generation_;  // a read still running reports to nobody
  wholePage_ = nullptr;  // a page never started is not started now
  if (loading_) {
    if (picture_) picture_->cancel();
    joinWorker();
    loading_ = false;
  }
  stopHelper();
  previous_ = Shown{};
  awaitingFirst_ = false;
  rowsPosted_.store(false);
  display(Shown{}, doc_.view.sngZoomPrev);
}

// One pass of libjpeg-turbo over the file: at once for a small picture, in
// the worker for a large one, whose rows show as they arrive.
ImageLoadResult MapView::openJpeg(const QString& path, float zoom, bool large, bool withLevels, bool& viaQt) {
  JpegScanStart start = StartJpegScan(path, withLevels);
  viaQt = start.useQtReader;
  if (viaQt || !start.result.ok) return start.result;
  const QSize size = start.picture->size();
  if (!large) {
    // The picture on screen and its levels stay untouched unless this one is good.
    const ImageLoadResult r = DecodeJpegScan(*start.scan, *start.picture, {});
    if (!r.ok) return r;
    const unsigned generation = ++generation_;
    stopHelper();
    display(Shown{start.picture, size, path}, zoom);
    buildLevels(picture_);
    reportLater(generation, r);
    return r;
  }
  const unsigned generation = ++generation_;
  stopHelper();
  previous_ = Shown{picture_, fullSize_, path_, page_, pdfPage_};
  loading_ = true;
  awaitingFirst_ = true;
  paintedRows_ = 0;
  display(Shown{start.picture, size, path}, zoom);
  buildLevels(picture_);  // faults the rows in ahead of the decoder, then halves them
  const int firstRows = int(std::ceil((scrollOffset().y() + viewport()->height()) / double(zoom)));
  worker_ = std::thread([this, generation, firstRows, scan = std::move(start.scan), picture = start.picture] {
    // New rows are shown once a frame, and at once when the first screenful is there.
    auto last = std::chrono::steady_clock::now();
    const auto onRows = [this, generation, firstRows, last](int rows) mutable {
      const auto now = std::chrono::steady_clock::now();
      const bool first = rows >= firstRows && rows - kRowsPerFrameCheck < firstRows;
      if (!first && now - last < kFrame) return;
      if (rowsPosted_.exchange(true)) return;  // the view has not caught up with the last batch yet
      last = now;
      QMetaObject::invokeMethod(this, [this, generation] { rowsArrived(generation); }, Qt::QueuedConnection);
    };
    const ImageLoadResult result = DecodeJpegScan(*scan, *picture, onRows);
    QMetaObject::invokeMethod(
        this, [this, generation, result, picture]() { finishFullRead(generation, result, picture); },
        Qt::QueuedConnection);
  });
  return ImageLoadResult{true, true, 0, QString()};
}

void MapView::rowsArrived(unsigned generation) {
  rowsPosted_.store(false);
  if (generation != generation_ || !picture_) return;
  const int rows = picture_->readyRows(0);
  const double z = shownZoom_;
  const QRectF band(0, std::floor(paintedRows_ * z) - 1, fullSize_.width() * z, (rows - paintedRows_) * z + 2);
  paintedRows_ = rows;
  const QRect visible = band.translated(-QPointF(scrollOffset())).toAlignedRect() & viewport()->rect();
  if (!visible.isEmpty()) viewport()->update(visible);
}

void MapView::finishFullRead(unsigned generation, ImageLoadResult result, std::shared_ptr<ScanPicture> picture) {
  if (generation != generation_) return;
  joinWorker();
  loading_ = false;
  if (result.ok) {
    const bool fresh = picture != picture_;
    display(Shown{std::move(picture), fullSize_, path_.isEmpty() ? previous_.path : path_, page_, pdfPage_},
            shownZoom_);
    if (fresh) buildLevels(picture_);
  } else {
    stopHelper();
    sharp_ = QImage();  // it was rendered from the page that failed
    display(std::move(previous_), shownZoom_);
    buildLevels(picture_);  // levels of the picture back on screen may have been cut short
  }
  previous_ = Shown{};
  emit imageReady(result);
}

}  // namespace planimo
