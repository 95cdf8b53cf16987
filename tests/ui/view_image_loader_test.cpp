#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    const QImage reduced = ReadReduced(path, size, 8);
    EXPECT_EQ(reduced.size(), QSize(400, 350)) << size.width();
    EXPECT_EQ(reduced.format(), QImage::Format_Grayscale8) << size.width();
  }
}

}  // namespace
}  // namespace planimo
