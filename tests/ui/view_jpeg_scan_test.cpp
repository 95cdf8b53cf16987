#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>
#include <gtest/gtest.h>

#include <jpeglib.h>

#include "model/error_numbers.h"
#include "view/jpeg_scan.h"
#include "view/map_view.h"

namespace planimo {
namespace {

// A line drawing with colour washes: every sampling and DCT path shows in it.
QImage Drawing(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(QColor(250, 245, 230));
  QPainter p(&image);
  p.setPen(QPen(QColor(160, 40, 40), 2));
  for (int i = 0; i < size.width(); i += 23) p.drawLine(i, 0, size.width() - i, size.height());
  p.fillRect(QRect(10, 10, size.width() / 3, size.height() / 4), QColor(40, 120, 200));
  return image;
}

QImage PlainQtRead(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(false);
  return reader.read();
}

// cjpeg of libjpeg-turbo's tools writes what Qt's writer cannot choose.
QString Cjpeg(const QTemporaryDir& dir, const QString& name, const QImage& image, const QStringList& options) {
  const bool grey = image.format() == QImage::Format_Grayscale8;
  const QString source = dir.filePath(name + (grey ? QStringLiteral(".pgm") : QStringLiteral(".ppm")));
  EXPECT_TRUE(image.save(source));
  const QString out = dir.filePath(name + QStringLiteral(".jpg"));
  QProcess cjpeg;
  cjpeg.start(QStringLiteral("cjpeg"), options + QStringList{QStringLiteral("-outfile"), out, source});
  EXPECT_TRUE(cjpeg.waitForFinished(30000) && cjpeg.exitCode() == 0) << cjpeg.readAllStandardError().toStdString();
  return out;
}

// Qt writes no CMYK JPEG: libjpeg does, from the inverted RGB channels.
QString CmykJpeg(const QTemporaryDir& dir, const QImage& rgb) {
  const QString path = dir.filePath(QStringLiteral("cmyk.jpg"));
  FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = JDIMENSION(rgb.width());
  c.image_height = JDIMENSION(rgb.height());
  c.input_components = 4;
  c.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&c);
  jpeg_set_colorspace(&c, JCS_YCCK);
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(std::size_t(rgb.width()) * 4);
  while (c.next_scanline < c.image_height) {
    const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(int(c.next_scanline)));
    for (int x = 0; x < rgb.width(); ++x) {
      row[4 * x] = JSAMPLE(255 - qRed(in[x]));
      row[4 * x + 1] = JSAMPLE(255 - qGreen(in[x]));
      row[4 * x + 2] = JSAMPLE(255 - qBlue(in[x]));
      row[4 * x + 3] = 0;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::fclose(f);
  return path;
}

ImageLoadResult OpenAndWait(MapView& view, const QString& path) {
  QSignalSpy ready(&view, &MapView::imageReady);
  const ImageLoadResult r = view.openImage(path);
  if (!r.ok) return r;
  if (ready.isEmpty() && !ready.wait(30000)) return ImageLoadResult{};
  return ready.at(0).at(0).value<ImageLoadResult>();
}

TEST(JpegScan, DecodedPixelsEqualQtsDecode) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QImage colour = Drawing(QSize(333, 251));
  const QImage grey = colour.convertToFormat(QImage::Format_Grayscale8);
  const struct {
    QString path;
    QImage::Format format;
  } cases[] = {
      {Cjpeg(dir, "baseline420", colour, {"-sample", "2x2"}), QImage::Format_RGB32},
      {Cjpeg(dir, "baseline444", colour, {"-sample", "1x1"}), QImage::Format_RGB32},
      {Cjpeg(dir, "baseline422", colour, {"-sample", "2x1"}), QImage::Format_RGB32},
      {Cjpeg(dir, "progressive", colour, {"-progressive"}), QImage::Format_RGB32},
      {Cjpeg(dir, "restarts", colour, {"-restart", "2", "-sample", "2x2"}), QImage::Format_RGB32},
      {Cjpeg(dir, "arithmetic", colour, {"-arithmetic"}), QImage::Format_RGB32},
      {Cjpeg(dir, "grey", grey, {}), QImage::Format_Grayscale8},
      {Cjpeg(dir, "greyprogressive", grey, {"-progressive"}), QImage::Format_Grayscale8},
      {CmykJpeg(dir, colour), QImage::Format_Invalid},  // Qt's reader, Qt's format
  };
  Document doc;
  MapView view(doc);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    const ImageLoadResult r = OpenAndWait(view, c.path);
    ASSERT_TRUE(r.ok) << r.description.toStdString();
    const QImage plain = PlainQtRead(c.path);
    ASSERT_FALSE(plain.isNull());
    if (c.format != QImage::Format_Invalid) {
      EXPECT_EQ(view.image().format(), c.format);
    }
    EXPECT_TRUE(view.image() == plain);
  }
}

// A scan large enough to decode in the worker: its rows show as they come,
// and a grab taken at any moment holds only decoded rows or background.
TEST(JpegScan, RowsPaintedWhileDecodingAreDecodedRowsOrBackground) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("large.jpg"));
  ASSERT_TRUE(Drawing(QSize(4800, 3600)).save(path, "jpeg", 90));
  Document doc;
  doc.live.lblDefault.Visible = false;
  doc.live.linDefault.Visible = false;
  MapView view(doc);
  view.resize(600, 500);
  view.show();
  QSignalSpy first(&view, &MapView::firstPictureShown);
  QSignalSpy ready(&view, &MapView::imageReady);
  const ImageLoadResult r = view.openImage(path);
  ASSERT_TRUE(r.ok);
  ASSERT_TRUE(r.pending);
  std::vector<QImage> grabs;
  while (ready.isEmpty()) {
    grabs.push_back(view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  ASSERT_TRUE(ready.at(0).at(0).value<ImageLoadResult>().ok);
  EXPECT_EQ(first.count(), 1);
  const QImage final = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRgb background = view.viewport()->palette().color(view.viewport()->backgroundRole()).rgb();
  for (const QImage& g : grabs) {
    ASSERT_EQ(g.size(), final.size());
    bool decoded = true;  // rows come from the top: once background, background to the bottom
    for (int y = 0; y < g.height(); ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(g.constScanLine(y));
      const bool same = std::equal(row, row + g.width(), reinterpret_cast<const QRgb*>(final.constScanLine(y)));
      const bool blank = std::all_of(row, row + g.width(), [&](QRgb p) { return p == background; });
      if (decoded && same) continue;
      ASSERT_TRUE(blank) << "row " << y << " neither decoded nor background";
      decoded = false;
    }
  }
  EXPECT_TRUE(view.image() == PlainQtRead(path));
}

TEST(JpegScan, DamagedOrLyingFilesAreRefusedBeforeTheirPixelsAreTrusted) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QByteArray good;
  {
    const QString path = dir.filePath(QStringLiteral("good.jpg"));
    ASSERT_TRUE(Drawing(QSize(320, 240)).save(path, "jpeg", 90));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    good = f.readAll();
  }
  const auto write = [&](const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  };
  // An end marker in the middle of the picture data: the file looks whole,
  // the decoder warns that the data stops early.
  QByteArray early = good;
  early.replace(int(good.size() * 2 / 3), 2, QByteArray("\xFF\xD9", 2));
  // A header claiming 20000 x 20000 pixels over a few kilobytes of data.
  QByteArray lying = good;
  const int sof = int(lying.indexOf(QByteArray("\xFF\xC0", 2)));
  ASSERT_GT(sof, 0);
  for (const int at : {sof + 5, sof + 7}) {
    lying[at] = char(20000 >> 8);
    lying[at + 1] = char(20000 & 0xFF);
  }
  // A large scan decoded in the background, damaged near its end: refused
  // after its first rows were on screen.
  QByteArray largeEarly;
  {
    QBuffer buffer(&largeEarly);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(Drawing(QSize(4200, 4000)).save(&buffer, "jpeg", 50));
  }
  largeEarly.replace(int(largeEarly.size() * 4 / 5), 2, QByteArray("\xFF\xD9", 2));
  const struct {
    const char* name;
    QByteArray bytes;
    const char* cause;
  } cases[] = {
      {"early.jpg", early, "画像のデータが壊れています"},
      {"cut.jpg", good.left(good.size() * 2 / 3), "ファイルが途中で切れています"},
      {"lying.jpg", lying, "20000 × 20000"},
      {"large.jpg", largeEarly, "画像のデータが壊れています"},
  };
  Document doc;
  MapView view(doc);
  ASSERT_TRUE(OpenAndWait(view, write("first.jpg", good)).ok);
  for (const auto& c : cases) {
    const ImageLoadResult r = OpenAndWait(view, write(c.name, c.bytes));
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_EQ(r.errorNumber, kErrInvalidPicture) << c.name;
    EXPECT_TRUE(r.description.contains(QString::fromUtf8(c.cause))) << r.description.toStdString();
    EXPECT_TRUE(view.imagePath().endsWith(QStringLiteral("first.jpg"))) << c.name;  // the view as it was
    EXPECT_EQ(view.imageSize(), QSize(320, 240));
  }
}

}  // namespace
}  // namespace planimo
