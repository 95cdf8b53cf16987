#include "view/pdf_page.h"

#include <QFile>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <cmath>
#include <optional>
#include <span>

#include "io/image_refusal.h"
#include "model/error_numbers.h"

namespace planimo {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kPageDpi = 96.0;
constexpr double kMmPerPoint = 25.4 / kPointsPerInch;

QSize PagePixels(QSizeF points) {
  return QSize(int(std::lround(points.width() * kPageDpi / kPointsPerInch)),
               int(std::lround(points.height() * kPageDpi / kPointsPerInch)));
}

// The end-of-file marker a writer puts last is the cheapest sign of a copy
// cut short: the PDF reader would otherwise rebuild what it can and show a
// page with its objects missing.
bool FileIsComplete(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 size = file.size();
  uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
  if (mapped != nullptr) {
    const bool complete = PdfIsComplete(std::span<const std::uint8_t>(mapped, std::size_t(size)));
    file.unmap(mapped);
    return complete;
  }
  const QByteArray bytes = file.readAll();
  return PdfIsComplete(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
}

// The document opened, or why it cannot be.
std::optional<ImageLoadResult> Open(QPdfDocument& pdf, const QString& path) {
  if (!FileIsComplete(path)) {
    return ImageFailure(kErrInvalidPicture,
                        QStringLiteral("PDF ファイルが途中で切れているか壊れています。"), path);
  }
  switch (pdf.load(path)) {
    case QPdfDocument::Error::None:
      break;
    case QPdfDocument::Error::FileNotFound:
      return ImageFailure(kErrFileNotFound, QString(), path);
    case QPdfDocument::Error::IncorrectPassword:
    case QPdfDocument::Error::UnsupportedSecurityScheme:
      return ImageFailure(kErrInvalidPicture,
                          QStringLiteral("パスワードで保護された PDF は開けません。"), path);
    default:
      return ImageFailure(kErrInvalidPicture, QStringLiteral("PDF ファイルが壊れています。"), path);
  }
  if (pdf.pageCount() < 1) {
    return ImageFailure(kErrInvalidPicture, QStringLiteral("PDF ファイルにページがありません。"),
                        path);
  }
  return std::nullopt;
}

std::optional<ImageLoadResult> CheckPage(const QPdfDocument& pdf, int page, const QString& path) {
  if (page < 1 || page > pdf.pageCount()) {
    return ImageFailure(kErrInvalidPicture,
                        QStringLiteral("ページ %1 はありません。このファイルは %2 ページです。")
                            .arg(page)
                            .arg(pdf.pageCount()),
                        path);
  }
  const QSize px = PagePixels(pdf.pagePointSize(page - 1));
  if (px.isEmpty())
    return ImageFailure(kErrInvalidPicture, QStringLiteral("ページの大きさが読み取れません。"),
                        path);
  return std::nullopt;
}

}  // namespace

ImageProbe ProbePdf(const QString& path, int page) {
  ImageProbe probe;
  probe.format = "pdf";
  QPdfDocument pdf;
  if (auto failed = Open(pdf, path)) {
    probe.result = *failed;
    return probe;
  }
  probe.pageCount = pdf.pageCount();
  if (auto failed = CheckPage(pdf, page, path)) {
    probe.result = *failed;
    return probe;
  }
  probe.size = PagePixels(pdf.pagePointSize(page - 1));
  // The rendering and the paper it is laid on.
  probe.decodedBytes = qint64(probe.size.width()) * probe.size.height() * 8;
  probe.result.ok = true;
  return probe;
}

ImageLoadResult ReadPdfPage(const QString& path, int page, QImage& out) {
  QPdfDocument pdf;
  if (auto failed = Open(pdf, path)) return *failed;
  if (auto failed = CheckPage(pdf, page, path)) return *failed;
  const QSize px = PagePixels(pdf.pagePointSize(page - 1));
  const QImage rendered = pdf.render(page - 1, px);
  if (rendered.isNull())
    return ImageFailure(kErrInvalidPicture, QStringLiteral("ページを描けません。"), path);
  // The reader leaves the paper transparent; a drawing is read on white.
  QImage paper = AllocatePicture(px, QImage::Format_RGB32);
  if (paper.isNull()) return ImageFailure(kErrOutOfMemory, QString(), path);
  paper.fill(Qt::white);
  {
    QPainter painter(&paper);
    painter.drawImage(0, 0, rendered);
  }
  const int dpm = int(std::lround(kPdfPageDotsPerMetre));
  paper.setDotsPerMeterX(dpm);
  paper.setDotsPerMeterY(dpm);
  out = std::move(paper);
  ImageLoadResult r{true, false, 0, QString()};
  r.pdfPage = true;
  return r;
}

std::vector<DrawingPage> PdfPages(const QString& path) {
  std::vector<DrawingPage> pages;
  QPdfDocument pdf;
  if (Open(pdf, path)) return pages;
  for (int i = 0; i < pdf.pageCount(); ++i) {
    const QSizeF points = pdf.pagePointSize(i);
    const QSize px = PagePixels(points);
    pages.push_back(DrawingPage{i + 1, px.width(), px.height(), points.width() * kMmPerPoint,
                                points.height() * kMmPerPoint});
  }
  return pages;
}

QImage RenderPdfPart(QPdfDocument& pdf, int page, QSize pageSize, QRect clip) {
  clip &= QRect(QPoint(0, 0), pageSize);
  if (clip.isEmpty() || page < 1 || page > pdf.pageCount()) return QImage();
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
  const QImage drawn = pdf.render(page - 1, clip.size(), options);
  if (drawn.isNull()) return QImage();
  paper.fill(Qt::white);
  QPainter painter(&paper);
  painter.drawImage(0, 0, drawn);
  return paper;
}

}  // namespace planimo
