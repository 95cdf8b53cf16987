#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <gtest/gtest.h>

#include <span>

#include "view/image_check.h"

namespace planimo {
namespace {

QByteArray Encode(const QImage& image, const char* format, bool progressive = false) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setProgressiveScanWrite(progressive);
  EXPECT_TRUE(writer.write(image));
  return bytes;
}

QImage Drawing(QImage::Format format) {
  QImage image(320, 240, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  for (int i = 0; i < 320; i += 7) p.drawLine(i, 0, 320 - i, 240);
  p.end();
  return image.convertToFormat(format);
}

std::span<const std::uint8_t> Bytes(const QByteArray& b, qsizetype length = -1) {
  return {reinterpret_cast<const std::uint8_t*>(b.constData()), static_cast<std::size_t>(length < 0 ? b.size() : length)};
}

TEST(ImageCheck, JpegWholeStreamsPassAndEveryCutFails) {
  for (const bool progressive : {false, true}) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_Grayscale8}) {
      const QByteArray jpeg = Encode(Drawing(format), "jpeg", progressive);
      EXPECT_TRUE(JpegIsComplete(Bytes(jpeg)));
      for (const double share : {0.1, 0.5, 0.9, 0.999}) {
        EXPECT_FALSE(JpegIsComplete(Bytes(jpeg, qsizetype(jpeg.size() * share))))
            << "progressive " << progressive << " cut at " << share;
      }
      EXPECT_FALSE(JpegIsComplete(Bytes(jpeg, jpeg.size() - 1)));  // only the EOI's last byte missing
      EXPECT_TRUE(JpegIsComplete(Bytes(jpeg + QByteArray(100, '\0'))));  // padding after EOI
    }
  }
  EXPECT_FALSE(JpegIsComplete(Bytes(QByteArray("not a jpeg at all"))));
}

TEST(ImageCheck, BmpCutShortOfItsRowsFails) {
  for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
    const QImage image = format == QImage::Format_RGB32 ? Drawing(format)
                                                        : Drawing(QImage::Format_RGB32).convertToFormat(format);
    const QByteArray bmp = Encode(image, "bmp");
    EXPECT_TRUE(BmpIsComplete(Bytes(bmp))) << format;
    EXPECT_FALSE(BmpIsComplete(Bytes(bmp, bmp.size() - 1))) << format;
    EXPECT_FALSE(BmpIsComplete(Bytes(bmp, bmp.size() / 2))) << format;
  }
}

}  // namespace
}  // namespace planimo
