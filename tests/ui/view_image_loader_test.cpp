#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include "model/error_numbers.h"
#include "view/image_loader.h"

namespace planimo {
namespace {

// A line drawing large enough that its full read decodes into memory the
// loader allocates itself rather than the reader.
QString SaveDrawing(const QTemporaryDir& dir, const char* name, QImage::Format format,
                    QSize size = QSize(3200, 2800)) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(QPen(QColor(160, 40, 40), 3));
  for (int i = 0; i < 3200; i += 37) p.drawLine(i, 0, 3200 - i, 2800);
  p.end();
  const QString path = dir.filePath(QString::fromLatin1(name));
  EXPECT_TRUE(image.convertToFormat(format).save(path, "jpeg", 90));
  return path;
}

TEST(ImageLoader, LargeJpegReadsMatchThePlainDecodePixelForPixel) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const struct {
    const char* name;
    QImage::Format source, expected;
  } cases[] = {
      {"colour.jpg", QImage::Format_RGB32, QImage::Format_RGB32},
      {"grey.jpg", QImage::Format_Grayscale8, QImage::Format_Grayscale8},
  };
  for (const auto& c : cases) {
    const QString path = SaveDrawing(dir, c.name, c.source);
    QImage loaded;
    ASSERT_TRUE(ReadImage(path, loaded).ok) << c.name;
    EXPECT_EQ(loaded.format(), c.expected) << c.name;
    QImageReader plain(path);
    plain.setAutoTransform(false);
    EXPECT_TRUE(loaded == plain.read()) << c.name;

    // The picture outlives its reader and stays writable on its own copy.
    QImage copy = loaded;
    copy.setPixel(0, 0, 0);
    EXPECT_NE(copy.pixel(0, 0), loaded.pixel(0, 0)) << c.name;
  }
}

TEST(ImageLoader, ReducedReadIsAnEighthRoundedDownAndGreyStaysEightBit) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const QSize size : {QSize(3200, 2800), QSize(3207, 2801)}) {
    const QString path = SaveDrawing(dir, "grey.jpg", QImage::Format_Grayscale8, size);
    QImage reduced;
    ASSERT_TRUE(ReadReduced(path, size, 8, reduced).ok);
    EXPECT_EQ(reduced.size(), QSize(400, 350)) << size.width();
    EXPECT_EQ(reduced.format(), QImage::Format_Grayscale8) << size.width();
  }
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll();
}

QString Write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
  return path;
}

// Offset of the first byte after the start-of-scan header.
qsizetype ScanData(const QByteArray& jpeg) {
  const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
  return sos + 2 + (uchar(jpeg[sos + 2]) << 8 | uchar(jpeg[sos + 3]));
}

void PatchSize(QByteArray& jpeg, int width, int height) {
  const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
  jpeg[sof + 5] = char(height >> 8);
  jpeg[sof + 6] = char(height);
  jpeg[sof + 7] = char(width >> 8);
  jpeg[sof + 8] = char(width);
}

// Hand-made damage to a good scan. Each is refused with the damaged-picture
// error, by the probe (before anything is allocated) or by the decoder's
// warnings; the reduced first picture refuses it too.
TEST(ImageLoader, DamagedJpegsAreRefused) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray good = ReadAll(SaveDrawing(dir, "good.jpg", QImage::Format_Grayscale8, QSize(640, 480)));
  const qsizetype scan = ScanData(good);
  const QByteArray eoi("\xFF\xD9", 2);

  QByteArray huge = good;
  PatchSize(huge, 60000, 60000);
  QByteArray garbage = good.left(scan);
  for (qsizetype i = scan; i < good.size() - 2; ++i) garbage += char(QRandomGenerator(7 + i).bounded(0, 255));
  const struct {
    const char* name;
    QByteArray bytes;
    bool refusedByProbe;
  } cases[] = {
      {"huge.jpg", huge, true},
      {"cut.jpg", good.left(scan + (good.size() - scan) / 2) + eoi, false},
      {"garbage.jpg", garbage + eoi, false},
  };
  for (const auto& c : cases) {
    const QString path = Write(dir, c.name, c.bytes);
    const ImageProbe probe = ProbeImage(path);
    QImage image, reduced;
    const ImageLoadResult read = c.refusedByProbe ? probe.result : ReadImage(path, image);
    EXPECT_EQ(probe.result.ok, !c.refusedByProbe) << c.name;
    EXPECT_FALSE(read.ok) << c.name;
    EXPECT_EQ(read.errorNumber, kErrInvalidPicture) << c.name;
    EXPECT_TRUE(image.isNull()) << c.name;
    if (!c.refusedByProbe) {
      EXPECT_FALSE(ReadReduced(path, QSize(640, 480), 8, reduced).ok) << c.name;
    }
  }
  EXPECT_TRUE(ProbeImage(Write(dir, "huge.jpg", huge)).result.description.contains(QStringLiteral("小さすぎ")));

  // A few stray bytes before the end marker cost no pixel: still read.
  QImage image;
  const QString padded = Write(dir, "padded.jpg", good.left(good.size() - 2) + QByteArray(3, '\0') + eoi);
  EXPECT_TRUE(ProbeImage(padded).result.ok);
  EXPECT_TRUE(ReadImage(padded, image).ok);
  EXPECT_EQ(image.size(), QSize(640, 480));
}

// A picture larger than the memory the process may still take is refused
// with error 7 before any decoding. Arithmetic coding has no size floor, so
// only the memory decides.
TEST(ImageLoader, PictureBeyondTheMemoryLeftIsRefusedWithErrorSeven) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QByteArray jpeg = ReadAll(SaveDrawing(dir, "small.jpg", QImage::Format_RGB32, QSize(320, 240)));
  PatchSize(jpeg, 30000, 30000);  // 3.6 GB as 32-bit pixels
  jpeg[jpeg.indexOf(QByteArray("\xFF\xC0", 2)) + 1] = char(0xC9);
  const QString path = Write(dir, "arith.jpg", jpeg);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
  rlimit tight = saved;
  QFile statm(QStringLiteral("/proc/self/statm"));
  ASSERT_TRUE(statm.open(QIODevice::ReadOnly));
  const rlim_t used = statm.readAll().split(' ').value(0).toULongLong() * rlim_t(sysconf(_SC_PAGE_SIZE));
  tight.rlim_cur = used + (rlim_t(1) << 30);  // a gigabyte more than the process holds
  if (saved.rlim_cur != RLIM_INFINITY && saved.rlim_cur < tight.rlim_cur) tight.rlim_cur = saved.rlim_cur;
  ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
  const ImageProbe probe = ProbeImage(path);
  ASSERT_EQ(setrlimit(RLIMIT_AS, &saved), 0);
  EXPECT_FALSE(probe.result.ok);
  EXPECT_EQ(probe.result.errorNumber, kErrOutOfMemory);
  EXPECT_TRUE(probe.result.description.startsWith(QStringLiteral("メモリが不足しています。")));
}

}  // namespace
}  // namespace planimo
