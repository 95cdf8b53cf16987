#include "view/jpeg_scan.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <span>

#include <jpeglib.h>
#include <jerror.h>

#include "io/image_refusal.h"
#include "model/error_numbers.h"

namespace planimo {

namespace {

constexpr int kRowsPerRead = 16;

// libjpeg reports through these: a fatal error or any warning (a damaged
// stream, data cut short) jumps back to the call that was running.
struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  bool cutShort = false;  // the data ended before the picture did
};

[[noreturn]] void TrapExit(j_common_ptr c) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(c->err)->jump, 1);
}

// Warnings of damaged or missing data refuse the picture, as for every
// reader; the few harmless ones (stray bytes before a marker) pass.
void TrapMessage(j_common_ptr c, int level) {
  if (level >= 0) return;  // trace output
  char text[JMSG_LENGTH_MAX] = {};
  (*c->err->format_message)(c, text);
  if (!JpegWarningMeansDamage(text)) return;
  reinterpret_cast<ErrorTrap*>(c->err)->cutShort = c->err->msg_code == JWRN_JPEG_EOF;
  TrapExit(c);
}

ImageLoadResult Refusal(int number, const QString& detail, const QString& path) {
  const QString text = QString::fromStdString(ErrorDescription(number)) + detail + QStringLiteral(" (") +
                       QDir::toNativeSeparators(path) + QLatin1Char(')');
  return ImageLoadResult{false, false, number, text};
}

}  // namespace

class JpegScan {
 public:
  explicit JpegScan(const QString& path) : file_(path), path_(path) {
    cinfo_.err = jpeg_std_error(&trap_.manager);
    trap_.manager.error_exit = TrapExit;
    trap_.manager.emit_message = TrapMessage;
    jpeg_create_decompress(&cinfo_);
  }
  ~JpegScan() { jpeg_destroy_decompress(&cinfo_); }
  JpegScan(const JpegScan&) = delete;
  JpegScan& operator=(const JpegScan&) = delete;

  bool open() {
    if (!file_.open(QIODevice::ReadOnly) || file_.size() <= 0) return false;
    data_ = file_.map(0, file_.size());
    size_ = std::size_t(file_.size());
    if (!data_) {  // some file systems cannot map: read it instead
      copy_ = file_.readAll();
      data_ = reinterpret_cast<uchar*>(copy_.data());
      size_ = std::size_t(copy_.size());
    }
    jpeg_mem_src(&cinfo_, data_, static_cast<unsigned long>(size_));
    return true;
  }
  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

  // Each call into libjpeg goes through one of these: a jump back lands in
  // the function that set it, with nothing of C++ to unwind in between.
  bool readHeader() {
    if (setjmp(trap_.jump)) return false;
    return jpeg_read_header(&cinfo_, TRUE) == JPEG_HEADER_OK;
  }
  bool start() {
    if (setjmp(trap_.jump)) return false;
    return jpeg_start_decompress(&cinfo_) == TRUE;
  }
  int readRows(JSAMPARRAY rows, int count) {
    if (setjmp(trap_.jump)) return -1;
    return static_cast<int>(jpeg_read_scanlines(&cinfo_, rows, static_cast<JDIMENSION>(count)));
  }
  bool finish() {
    if (setjmp(trap_.jump)) return false;
    return jpeg_finish_decompress(&cinfo_) == TRUE;
  }

  ImageLoadResult damaged() const {
    return Refusal(kErrInvalidPicture,
                   trap_.cutShort ? QStringLiteral("ファイルが途中で切れています。")
                                  : QStringLiteral("画像のデータが壊れています。"),
                   path_);
  }

  jpeg_decompress_struct cinfo_{};
  QFile file_;
  QString path_;

 private:
  ErrorTrap trap_;
  uchar* data_ = nullptr;
  std::size_t size_ = 0;
  QByteArray copy_;
};

void JpegScanDeleter::operator()(JpegScan* s) const { delete s; }

JpegScanStart StartJpegScan(const QString& path, bool withLevels) {
  JpegScanStart s;
  JpegScanPtr scan(new JpegScan(path));
  if (!scan->open()) {
    s.result = Refusal(kErrPathFileAccess, QStringLiteral("ファイルを読み取れません。"), path);
    return s;
  }
  // Nothing is allocated for a frame the file's bytes cannot carry.
  if (JpegTooShortForItsSize(scan->bytes())) {
    s.result = Refusal(kErrInvalidPicture, QStringLiteral("画像の大きさに対してファイルが小さすぎます。壊れたファイルです。"),
                       path);
    return s;
  }
  if (!scan->readHeader()) {
    s.result = scan->damaged();
    return s;
  }
  jpeg_decompress_struct& c = scan->cinfo_;
  if (c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK ||
      (c.num_components != 1 && c.num_components != 3)) {
    s.useQtReader = true;
    return s;
  }
  const bool grey = c.num_components == 1;
  c.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
  const QSize size(int(c.image_width), int(c.image_height));
  s.picture = ScanPicture::Allocate(size, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32, withLevels);
  if (!s.picture) {
    s.result = Refusal(kErrOutOfMemory,
                       QStringLiteral("%1 × %2 ピクセルの画像を置くメモリがありません。").arg(size.width()).arg(size.height()),
                       path);
    return s;
  }
  // The resolution the file states, as Qt's reader keeps it.
  if (c.density_unit == 1) {
    s.picture->setDotsPerMeter(int(100.0 * c.X_density / 2.54), int(100.0 * c.Y_density / 2.54));
  } else if (c.density_unit == 2) {
    s.picture->setDotsPerMeter(int(100.0 * c.X_density), int(100.0 * c.Y_density));
  }
  s.result = ImageLoadResult{true, false, 0, QString()};
  s.scan = std::move(scan);
  return s;
}

ImageLoadResult DecodeJpegScan(JpegScan& scan, ScanPicture& picture, const std::function<void(int)>& onRows) {
  const auto fail = [&](ImageLoadResult r) {
    picture.finishDecode(false);
    return r;
  };
  if (!scan.start()) return fail(scan.damaged());
  const int height = picture.size().height();
  if (int(scan.cinfo_.output_height) != height || int(scan.cinfo_.output_width) != picture.size().width()) {
    return fail(scan.damaged());
  }
  JSAMPROW rows[kRowsPerRead];
  int done = 0;
  while (done < height) {
    if (picture.cancelled()) return fail(ImageLoadResult{false, false, kErrCancelled, QString()});
    const int batch = std::min(kRowsPerRead, height - done);
    for (int i = 0; i < batch; ++i) rows[i] = picture.row(done + i);
    int got = 0;
    while (got < batch) {
      const int n = scan.readRows(rows + got, batch - got);
      if (n <= 0) return fail(scan.damaged());
      got += n;
    }
    done += batch;
    picture.publishRows(done);
    if (onRows) onRows(done);
  }
  if (!scan.finish()) return fail(scan.damaged());  // damage after the last row still refuses
  picture.finishDecode(true);
  return ImageLoadResult{true, false, 0, QString()};
}

}  // namespace planimo
