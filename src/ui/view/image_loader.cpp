#include "view/image_loader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <span>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

#include "io/image_refusal.h"
#include "model/error_numbers.h"
#include "view/decoder_warnings.h"
#include "view/image_check.h"
#include "view/memory_budget.h"
#include "view/pdf_page.h"
#include "view/tiff_reader.h"

namespace planimo {

namespace {

ImageLoadResult Failure(int number, const QString& detail, const QString& path) {
  return ImageFailure(number, detail, path);
}

// The limit is process-wide in Qt; it is set once, before the first read.
void InstallAllocationLimit() {
  static std::once_flag once;
  std::call_once(once, [] { QImageReader::setAllocationLimit(ImageAllocationLimitMb()); });
}

void OpenReader(QImageReader& reader) {
  InstallAllocationLimit();
  reader.setAutoTransform(false);
  reader.setDecideFormatFromContent(true);
}

bool IsSupportedFormat(const QByteArray& f) {
  return f == "jpeg" || f == "jpg" || f == "gif" || f == "bmp" || f == "png";
}

// The memory a picture of `size` decoded as `f` takes, rows padded to
// whole words as Qt holds them; a 1-bit scan stays 1-bit.
qint64 PictureBytes(QSize size, QImage::Format f) {
  int bits = 32;  // unknown until decoded: assume colour
  switch (f) {
    case QImage::Format_Invalid: break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: bits = 1; break;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8: bits = 8; break;
    default: bits = std::max(8, int(QImage::toPixelFormat(f).bitsPerPixel()));
  }
  return (qint64(size.width()) * bits + 31) / 32 * 4 * size.height();
}

// Grey palettes (8-bit scans saved as BMP, GIF or PNG) become plain 8-bit
// grey and 1-bit scans stay 1-bit, a bit a pixel, their two colours laid on
// white paper; any other picture with transparency is laid on white paper
// too, as a drawing is read.
bool HasGreyPalette(const QImage& img) {
  const QList<QRgb> table = img.colorTable();
  return !table.isEmpty() && std::all_of(table.begin(), table.end(), [](QRgb c) { return qIsGray(c); });
}

void KeepScanDepth(QImage& img) {
  const QImage::Format f = img.format();
  if (f == QImage::Format_Mono || f == QImage::Format_MonoLSB) {
    if (f == QImage::Format_MonoLSB) img.convertTo(QImage::Format_Mono);
    QList<QRgb> table = img.colorTable();
    for (QRgb& c : table) {
      const int a = qAlpha(c);
      const auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
      c = qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c)));
    }
    img.setColorTable(table);
  } else if (f == QImage::Format_Indexed8 && HasGreyPalette(img)) {
    img.convertTo(QImage::Format_Grayscale8);
  } else if (img.hasAlphaChannel()) {
    QImage paper(img.size(), QImage::Format_RGB32);
    paper.setDotsPerMeterX(img.dotsPerMeterX());
    paper.setDotsPerMeterY(img.dotsPerMeterY());
    paper.fill(Qt::white);
    QPainter(&paper).drawImage(0, 0, img);
    img = std::move(paper);
  }
}

// Below this a picture is left to the reader's own allocation.
constexpr qint64 kLargePictureBytes = 8 * 1024 * 1024;

void UnmapPixels(void* info) {
  const auto* block = static_cast<const std::pair<void*, std::size_t>*>(info);
  munmap(block->first, block->second);
  delete block;
}

// An empty picture of the given size whose pixels sit in memory of their own,
// in plain small pages: a fresh buffer in large pages costs far more in page
// faults on these machines than the small pages the decoder touches. A null
// image when the memory is not there (the reader then allocates for itself).
QImage AllocateLarge(QSize size, QImage::Format format) {
  if (size.isEmpty() || format == QImage::Format_Invalid) return QImage();
  const qint64 stride = (qint64(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
  const qint64 bytes = stride * size.height();
  if (stride > INT_MAX || bytes < kLargePictureBytes || bytes > qint64(ImageAllocationLimitMb()) * 1024 * 1024) {
    return QImage();
  }
  void* pixels = mmap(nullptr, std::size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pixels == MAP_FAILED) return QImage();
#ifdef MADV_NOHUGEPAGE
  madvise(pixels, std::size_t(bytes), MADV_NOHUGEPAGE);
#endif
  auto* block = new std::pair<void*, std::size_t>(pixels, std::size_t(bytes));
  QImage image(static_cast<uchar*>(pixels), size.width(), size.height(), stride, format, UnmapPixels, block);
  if (image.isNull()) UnmapPixels(block);
  return image;
}

bool IsJpeg(const QByteArray& format) { return format == "jpeg" || format == "jpg"; }

// The file's bytes, mapped when the file system allows it, else read.
class FileBytes {
 public:
  explicit FileBytes(QFile& file) : file_(file) {
    const qint64 size = file.size();
    if (size <= 0) return;
    mapped_ = file.map(0, size);
    if (mapped_ == nullptr) {
      file.seek(0);
      copy_ = file.readAll();
    }
    const uchar* data = mapped_ ? mapped_ : reinterpret_cast<const uchar*>(copy_.constData());
    bytes_ = {data, static_cast<std::size_t>(mapped_ ? size : copy_.size())};
  }
  ~FileBytes() {
    if (mapped_ != nullptr) file_.unmap(mapped_);
  }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  std::span<const std::uint8_t> bytes() const { return bytes_; }

 private:
  QFile& file_;
  uchar* mapped_ = nullptr;
  QByteArray copy_;
  std::span<const std::uint8_t> bytes_;
};

// Error 7 when the decoded picture would take more than the machine can give now.
std::optional<ImageLoadResult> TooLargeForMemory(const ImageProbe& probe, const QString& path) {
  const qint64 limit = std::min<qint64>(qint64(ImageAllocationLimitMb()) * 1024 * 1024,
                                        qint64(std::min<std::uint64_t>(MemoryAvailableForPicture(), INT64_MAX)));
  if (probe.decodedBytes <= limit) return std::nullopt;
  return Failure(kErrOutOfMemory,
                 QStringLiteral("%1 × %2 ピクセルの画像には %3 MB が必要ですが、使えるのは %4 MB までです。")
                     .arg(probe.size.width())
                     .arg(probe.size.height())
                     .arg(probe.decodedBytes / (1024 * 1024))
                     .arg(limit / (1024 * 1024)),
                 path);
}

// A decoder warning about damaged data refuses the picture it handed over.
ImageLoadResult DamageFailure(const QString& path) {
  return Failure(kErrInvalidPicture, QStringLiteral("画像のデータが壊れています。"), path);
}

}  // namespace

ImageLoadResult ImageFailure(int number, const QString& detail, const QString& path) {
  const QString text = QString::fromStdString(ErrorDescription(number)) + detail + QStringLiteral(" (") +
                       QDir::toNativeSeparators(path) + QLatin1Char(')');
  return ImageLoadResult{false, false, number, text};
}

QImage AllocatePicture(QSize size, QImage::Format format) {
  QImage image = AllocateLarge(size, format);
  return image.isNull() ? QImage(size, format) : image;
}

QByteArray PagedFormat(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray head = file.read(1024);
  if (head.startsWith("II*\0") || head.startsWith("MM\0*") || head.startsWith("II+\0") || head.startsWith("MM\0+")) {
    return "tiff";
  }
  if (head.contains("%PDF-")) return "pdf";
  return {};
}

std::vector<DrawingPage> DrawingPages(const QString& path) {
  if (!QFileInfo(path).isFile()) return {};
  const QByteArray paged = PagedFormat(path);
  if (paged == "tiff") return TiffPages(path);
  if (paged == "pdf") return PdfPages(path);
  QImageReader reader(path);
  OpenReader(reader);
  const QSize size = reader.size();
  if (!reader.canRead() || !size.isValid()) return {};
  return {DrawingPage{1, size.width(), std::abs(size.height()), 0, 0}};
}

int ImageAllocationLimitMb() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return 2048;
  const long long halfMb = static_cast<long long>(pages) * pageSize / 2 / (1024 * 1024);
  return static_cast<int>(std::clamp<long long>(halfMb, 256, INT_MAX));
}

ImageProbe ProbeImage(const QString& path, bool checkJpegStream, int page) {
  ImageProbe probe;
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists()) {
    probe.result = Failure(kErrFileNotFound, QString(), path);
    return probe;
  }
  // A pipe or a device would block the read or never end: only regular files are opened.
  if (!info.isFile()) {
    probe.result = Failure(kErrPathFileAccess, QStringLiteral("ファイルを読み取れません。通常のファイルではありません。"), path);
    return probe;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    probe.result = Failure(kErrPathFileAccess, QStringLiteral("ファイルを読み取れません。"), path);
    return probe;
  }
  const QByteArray paged = PagedFormat(path);
  if (!paged.isEmpty()) {
    probe = paged == "tiff" ? ProbeTiff(path, file.size(), page) : ProbePdf(path, page);
    if (!probe.result.ok) return probe;
    probe.result.ok = false;
    if (auto refused = TooLargeForMemory(probe, path)) {
      probe.result = *refused;
      return probe;
    }
    probe.result.ok = true;
    return probe;
  }
  QImageReader reader(&file);
  OpenReader(reader);
  probe.format = reader.format();
  if (!reader.canRead() || !IsSupportedFormat(probe.format)) {
    probe.result = Failure(kErrInvalidPicture,
                           QStringLiteral("JPEG、GIF、BMP、PNG、TIFF、PDF のどれでもないか、壊れたファイルです。"), path);
    return probe;
  }
  if (page != 1) {
    probe.result = Failure(kErrInvalidPicture,
                           QStringLiteral("ページ %1 はありません。このファイルは 1 ページです。").arg(page), path);
    return probe;
  }
  probe.size = reader.size();
  // A bitmap stored top row first declares a negative height.
  if (probe.format == "bmp" && probe.size.height() < 0) probe.size.setHeight(-probe.size.height());
  if (!probe.size.isValid() || probe.size.isEmpty()) {
    probe.result = Failure(kErrInvalidPicture, QStringLiteral("画像の大きさが読み取れません。"), path);
    return probe;
  }
  // JPEG and BMP are judged on their bytes before anything is decoded.
  const bool jpeg = IsJpeg(probe.format);
  const bool bmp = probe.format == "bmp";
  std::optional<FileBytes> bytes;
  if (jpeg || bmp) bytes.emplace(file);
  if (jpeg && JpegTooShortForItsSize(bytes->bytes())) {
    probe.result = Failure(kErrInvalidPicture,
                           QStringLiteral("%1 × %2 ピクセルの画像を収めるにはファイルが小さすぎます。壊れたファイルです。")
                               .arg(probe.size.width())
                               .arg(probe.size.height()),
                           path);
    return probe;
  }
  probe.decodedBytes = PictureBytes(probe.size, reader.imageFormat());
  if (auto refused = TooLargeForMemory(probe, path)) {
    probe.result = *refused;
    return probe;
  }
  const bool complete =
      !bytes || (jpeg ? !checkJpegStream || JpegIsComplete(bytes->bytes()) : BmpIsComplete(bytes->bytes()));
  if (!complete) {
    probe.result = Failure(kErrInvalidPicture, QStringLiteral("ファイルが途中で切れています。"), path);
    return probe;
  }
  probe.result.ok = true;
  return probe;
}

ImageLoadResult ReadImage(const QString& path, QImage& out, int page) {
  if (QFileInfo(path).exists() && !QFileInfo(path).isFile()) {
    return Failure(kErrPathFileAccess, QStringLiteral("ファイルを読み取れません。通常のファイルではありません。"), path);
  }
  const QByteArray paged = PagedFormat(path);
  if (paged == "tiff") return ReadTiff(path, page, out);
  if (paged == "pdf") return ReadPdfPage(path, page, out);
  if (page != 1) {
    return Failure(kErrInvalidPicture, QStringLiteral("ページ %1 はありません。このファイルは 1 ページです。").arg(page),
                   path);
  }
  QImageReader reader(path);
  OpenReader(reader);
  // The JPEG reader decodes into a picture handed to it when size and format
  // match; otherwise it allocates its own and this one is simply dropped.
  QImage img = reader.format() == "jpeg" ? AllocateLarge(reader.size(), reader.imageFormat()) : QImage();
  const DecoderWarnings warnings;
  const bool read = reader.read(&img) && !img.isNull();
  if (warnings.damaged()) return DamageFailure(path);
  if (!read) {
    switch (reader.error()) {
      case QImageReader::FileNotFoundError:
        return Failure(kErrFileNotFound, QString(), path);
      case QImageReader::DeviceError:
        return Failure(kErrPathFileAccess, QStringLiteral("ファイルを読み取れません。"), path);
      default:
        return Failure(kErrInvalidPicture, QStringLiteral("画像を読み取れません。"), path);
    }
  }
  KeepScanDepth(img);
  out = std::move(img);
  return ImageLoadResult{true, false, 0, QString()};
}

ImageLoadResult ReadReduced(const QString& path, QSize fullSize, int denominator, QImage& out) {
  QImageReader reader(path);
  OpenReader(reader);
  // Rounded down: the JPEG reader picks the smallest DCT scaling that still
  // covers the size asked for, so one pixel more than width / 8 already
  // costs a decode at 2/8 and a resampling pass over four times the pixels.
  // The decoder's own 1/8 picture is width / 8 rounded up; when that is not
  // exact, only a one-pixel resample of the small picture follows.
  const int d = std::max(1, denominator);
  reader.setScaledSize(QSize(std::max(1, fullSize.width() / d), std::max(1, fullSize.height() / d)));
  const DecoderWarnings warnings;
  if (!reader.read(&out) || out.isNull()) return Failure(kErrInvalidPicture, QStringLiteral("画像を読み取れません。"), path);
  if (warnings.damaged()) {
    out = QImage();
    return DamageFailure(path);
  }
  KeepScanDepth(out);
  return ImageLoadResult{true, false, 0, QString()};
}

}  // namespace planimo
