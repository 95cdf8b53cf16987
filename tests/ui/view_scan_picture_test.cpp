#include <QImage>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <thread>

#include "view/scan_picture.h"

namespace planimo {
namespace {

QImage Noise(QSize size, QImage::Format format) {
  QImage image(size, format);
  QRandomGenerator rng(11);
  for (int y = 0; y < size.height(); ++y) {
    uchar* row = image.scanLine(y);
    for (qsizetype i = 0; i < image.bytesPerLine(); ++i) row[i] = uchar(rng.bounded(256));
    if (format == QImage::Format_RGB32) {
      for (int x = 0; x < size.width(); ++x) row[4 * x + 3] = 0xFF;
    }
  }
  return image;
}

// The plain definition: every channel the rounded mean of a 2 x 2 box, the
// last row and column repeated where the source is odd.
QImage ScalarHalf(const QImage& s) {
  QImage out((s.width() + 1) / 2, (s.height() + 1) / 2, s.format());
  const int b = s.depth() / 8;
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) {
      for (int k = 0; k < b; ++k) {
        int sum = 0;
        for (int dy = 0; dy < 2; ++dy)
          for (int dx = 0; dx < 2; ++dx) {
            const int sx = std::min(2 * x + dx, s.width() - 1), sy = std::min(2 * y + dy, s.height() - 1);
            sum += s.constScanLine(sy)[sx * b + k];
          }
        out.scanLine(y)[x * b + k] = uchar((sum + 2) / 4);
      }
    }
  }
  return out;
}

// A 1-bit picture's levels are those of its 8-bit grey copy.
void ExpectLevelsAreBoxFilters(const ScanPicture& p, const QImage& source, const char* what) {
  ASSERT_EQ(p.levelCount(), ScanPicture::kMaxLevels) << what;
  QImage expected = source.format() == QImage::Format_Mono ? source.convertToFormat(QImage::Format_Grayscale8) : source;
  for (int level = 1; level < p.levelCount(); ++level) {
    expected = ScalarHalf(expected);
    ASSERT_TRUE(p.levelComplete(level)) << what << level;
    EXPECT_TRUE(p.readyPart(level) == expected) << what << " level " << level;
    EXPECT_EQ(p.readyPart(level).format(), expected.format()) << what;  // grey stays 8-bit
  }
}

TEST(ScanPicture, LevelsOfACompletePictureAreScalarBoxFilters) {
  const struct {
    QImage::Format format;
    QList<QRgb> table;
    const char* what;
  } cases[] = {{QImage::Format_RGB32, {}, "colour"},
               {QImage::Format_Grayscale8, {}, "grey"},
               {QImage::Format_Mono, {qRgb(255, 255, 255), qRgb(0, 0, 0)}, "white is zero"},
               {QImage::Format_Mono, {qRgb(40, 40, 40), qRgb(230, 230, 230)}, "black is zero"}};
  for (const auto& c : cases) {
    for (const QSize size : {QSize(64, 48), QSize(37, 23)}) {
      QImage source = Noise(size, c.format);
      source.setColorTable(c.table);
      const auto picture = ScanPicture::Wrap(source, true);
      picture->buildBehind();  // the decode is over: builds every level, then returns
      ExpectLevelsAreBoxFilters(*picture, source, c.what);
    }
  }
}

// A decoder publishing rows in batches with the helper faulting and halving
// behind it: what is published is always whole, and the levels end equal.
TEST(ScanPicture, RowsPublishedWhileDecodingAndLevelsBuiltBehind) {
  const QImage source = Noise(QSize(301, 517), QImage::Format_RGB32);
  const auto picture = ScanPicture::Allocate(source.size(), source.format(), true);
  ASSERT_TRUE(picture);
  EXPECT_TRUE(picture->readyPart(0).isNull());
  std::thread helper([&] { picture->buildBehind(); });
  for (int y = 0; y < source.height(); y += 16) {
    const int rows = std::min(16, source.height() - y);
    for (int i = 0; i < rows; ++i) {
      std::memcpy(picture->row(y + i), source.constScanLine(y + i), std::size_t(source.bytesPerLine()));
    }
    picture->publishRows(y + rows);
    const QImage part = picture->readyPart(0);
    ASSERT_EQ(part.height(), y + rows);
    EXPECT_TRUE(part == source.copy(0, 0, source.width(), y + rows)) << y;
    // A level never runs ahead of the rows it is made from.
    EXPECT_LE(picture->readyRows(1) * 2, y + rows);
  }
  picture->finishDecode(true);
  helper.join();
  EXPECT_TRUE(picture->full() == source);
  ExpectLevelsAreBoxFilters(*picture, source, "built behind");
}

TEST(ScanPicture, ACancelledOrFailedDecodeEndsTheHelper) {
  for (const bool fail : {false, true}) {
    const auto picture = ScanPicture::Allocate(QSize(100, 100), QImage::Format_Grayscale8, true);
    ASSERT_TRUE(picture);
    std::thread helper([&] { picture->buildBehind(); });
    picture->publishRows(10);
    if (fail) {
      picture->finishDecode(false);
    } else {
      picture->cancel();
    }
    helper.join();  // returns instead of waiting for rows that never come
    EXPECT_FALSE(picture->levelsComplete());
  }
}

}  // namespace
}  // namespace planimo
