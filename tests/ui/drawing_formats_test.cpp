// PDF, TIFF and PNG drawings: a PDF page opens as its paper at 96 dpi, a
// 1-bit scan stays 1-bit and a grey one 8-bit grey, the page of a file of several pages
// is chosen, kept in the project and shown again, and damaged files are
// refused with the drawing on screen kept.

#include <gtest/gtest.h>
#include <tiffio.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <functional>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/page_dialog.h"
#include "fake_message_sink.h"
#include "io/drawing_pages.h"
#include "io/project_flow.h"
#include "print/composition.h"
#include "print/headless_print.h"
#include "view/image_loader.h"
#include "view/map_view.h"
#include "view/pdf_page.h"

namespace planimo {
namespace {

constexpr double kLineMm = 100.0;  // the line drawn on page 2 of the PDF

// Page 1 A4 portrait, page 2 A3 landscape with a horizontal line of
// kLineMm from 20 mm to 120 mm, 50 mm down.
void WritePdf(const QString& path) {
  QPdfWriter writer(path);
  writer.setResolution(254);  // one unit is 0.1 mm
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter(&writer);
  painter.drawText(QPointF(200, 200), QStringLiteral("1"));
  writer.setPageSize(QPageSize(QPageSize::A3));
  writer.setPageOrientation(QPageLayout::Landscape);
  writer.newPage();
  painter.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(QPointF(200, 500), QPointF(200 + kLineMm * 10, 500));
}

QSize At96Dpi(QSizeF points) {
  return QSize(int(std::lround(points.width() * 96 / 72)),
               int(std::lround(points.height() * 96 / 72)));
}

struct TiffPageSpec {
  int width, height, bitsPerSample, samplesPerPixel, compression, photometric;
  std::function<std::uint8_t(int x, int y, int sample)> value;
};

// Every page at 300 dpi, one strip of rows per page.
void WriteTiff(const QString& path, const std::vector<TiffPageSpec>& pages) {
  TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
  ASSERT_NE(tif, nullptr);
  for (const TiffPageSpec& p : pages) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, p.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, p.height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, p.bitsPerSample);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, p.samplesPerPixel);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, p.compression);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, p.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, p.height);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 300.0);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 300.0);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tif)));
    for (int y = 0; y < p.height; ++y) {
      std::fill(row.begin(), row.end(), 0);
      for (int x = 0; x < p.width; ++x) {
        for (int s = 0; s < p.samplesPerPixel; ++s) {
          const std::uint8_t v = p.value(x, y, s);
          if (p.bitsPerSample == 1) {
            if (v) row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
          } else {
            row[std::size_t(x * p.samplesPerPixel + s)] = v;
          }
        }
      }
      ASSERT_EQ(TIFFWriteScanline(tif, row.data(), std::uint32_t(y), 0), 1);
    }
    TIFFWriteDirectory(tif);
  }
  TIFFClose(tif);
}

// An uncompressed 8-bit grey page with its directory before the pixels, as
// many scanners write it: cut short, the directory still reads and points
// past the end.
QByteArray GreyTiffDirectoryFirst(int width, int height) {
  QByteArray b("II*\0", 4);
  const auto u16 = [&b](int v) { b.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF)); };
  const auto u32 = [&](qint64 v) {
    u16(int(v & 0xFFFF));
    u16(int(v >> 16 & 0xFFFF));
  };
  u32(8);
  const int entries = 8;
  const qint64 data = 8 + 2 + entries * 12 + 4;
  u16(entries);
  const auto entry = [&](int tag, int type, qint64 value) {  // type 3 SHORT, 4 LONG
    u16(tag);
    u16(type);
    u32(1);
    u32(value);  // a SHORT sits in the low half, little-endian
  };
  entry(256, 4, width);
  entry(257, 4, height);
  entry(258, 3, 8);
  entry(259, 3, 1);
  entry(262, 3, 1);
  entry(273, 4, data);
  entry(278, 4, height);
  entry(279, 4, qint64(width) * height);
  u32(0);
  b.append(QByteArray(width * height, char(200)));
  return b;
}

void CutFile(const QString& from, const QString& to, double fraction) {
  QFile in(from);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  const QByteArray bytes = in.readAll();
  QFile out(to);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(bytes.left(qsizetype(bytes.size() * fraction)));
}

// Dark pixels on row `y`.
int DarkPixels(const QImage& image, int y) {
  int n = 0;
  for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128;
  return n;
}

struct Answering : PageChooser {
  std::optional<int> ChoosePage(const std::vector<DrawingPage>& pages) override {
    offered = pages;
    return answer;
  }
  std::optional<int> answer;
  std::vector<DrawingPage> offered;
};

struct DrawingFormatsTest : ::testing::Test {
  void SetUp() override {
    WritePdf(path("plan.pdf"));
    // A G4 scan with one black row, a grey page, a colour page.
    ASSERT_NO_FATAL_FAILURE(
        WriteTiff(path("scan.tif"), {{600, 400, 1, 1, COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE,
                                      [](int, int y, int) { return y == 100; }},
                                     {320, 200, 8, 1, COMPRESSION_LZW, PHOTOMETRIC_MINISBLACK,
                                      [](int, int, int) { return 128; }},
                                     {100, 50, 8, 3, COMPRESSION_NONE, PHOTOMETRIC_RGB,
                                      [](int, int, int s) { return s == 0 ? 255 : 0; }}}));
    a3 = At96Dpi(QPageSize(QPageSize::A3).sizePoints().transposed());
  }
  QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

  QTemporaryDir folder;
  QSize a3;
};

TEST_F(DrawingFormatsTest, PdfPagesOpenAtNinetySixDpiAndTiffScansStayGrey) {
  Document doc;
  MapView view(doc);

  ASSERT_TRUE(view.openImage(path("plan.pdf"), 2).ok);
  EXPECT_TRUE(view.isPdfPage());
  EXPECT_EQ(view.imagePage(), 2);
  const QImage page = view.image();
  EXPECT_LE(std::abs(page.width() - a3.width()) + std::abs(page.height() - a3.height()), 2)
      << page.width();
  EXPECT_EQ(page.dotsPerMeterX(), 3780);
  // 100 mm of paper is 100 mm of map surface at 100 %: 377.95 pixels.
  const int row = int(std::lround(50.0 * kPdfPageDotsPerMetre / 1000));
  EXPECT_NEAR(DarkPixels(page, row), kLineMm * kPdfPageDotsPerMetre / 1000, 2.0);

  // A page that is not there, a PDF cut short, a TIFF claiming more pixels
  // than its bytes: refused, the page on screen kept.
  CutFile(path("plan.pdf"), path("cut.pdf"), 0.6);
  {
    TIFF* tif = TIFFOpen(QFile::encodeName(path("lying.tif")).constData(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 60000);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 60000);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 60000);
    const char bytes[100] = {};
    TIFFWriteRawStrip(tif, 0, const_cast<char*>(bytes), sizeof bytes);
    TIFFClose(tif);
  }
  {
    QFile whole(path("whole.tif"));
    ASSERT_TRUE(whole.open(QIODevice::WriteOnly));
    whole.write(GreyTiffDirectoryFirst(300, 200));
  }
  CutFile(path("whole.tif"), path("cut.tif"), 0.5);
  // Cut among the colour page's pixels: the directory of page 3 is gone.
  CutFile(path("scan.tif"), path("cutpages.tif"), 0.5);
  for (const auto& [name, pageNumber] :
       {std::pair{"plan.pdf", 3}, std::pair{"cut.pdf", 1}, std::pair{"lying.tif", 1},
        std::pair{"cut.tif", 1}, std::pair{"cutpages.tif", 3}, std::pair{"scan.tif", 4}}) {
    const ImageLoadResult r = view.openImage(path(name), pageNumber);
    EXPECT_FALSE(r.ok) << name;
    EXPECT_EQ(r.errorNumber, 481) << name;
    EXPECT_EQ(view.imagePath(), path("plan.pdf")) << name;
    EXPECT_EQ(view.imagePage(), 2) << name;
  }

  const struct {
    int page;
    QSize size;
    QImage::Format format;
    QRgb inside;
  } tiffPages[] = {{1, {600, 400}, QImage::Format_Mono, qRgb(255, 255, 255)},
                   {2, {320, 200}, QImage::Format_Grayscale8, qRgb(128, 128, 128)},
                   {3, {100, 50}, QImage::Format_RGB32, qRgb(255, 0, 0)}};
  for (const auto& c : tiffPages) {
    ASSERT_TRUE(view.openImage(path("scan.tif"), c.page).ok) << c.page;
    EXPECT_FALSE(view.isPdfPage());
    const QImage& image = view.image();
    EXPECT_EQ(image.size(), c.size) << c.page;
    EXPECT_EQ(image.format(), c.format) << c.page;
    EXPECT_EQ(image.pixel(10, 10), c.inside) << c.page;
    EXPECT_EQ(image.dotsPerMeterX(), 11811) << c.page;  // 300 dpi
  }
  ASSERT_TRUE(view.openImage(path("whole.tif")).ok);
  EXPECT_EQ(view.image().pixel(5, 5), qRgb(200, 200, 200));
  ASSERT_TRUE(view.openImage(path("scan.tif"), 1).ok);
  EXPECT_EQ(DarkPixels(view.image(), 100), 600);
  EXPECT_EQ(DarkPixels(view.image(), 101), 0);
  // A 1-bit PNG scan stays 1-bit too; its resolution is kept.
  QImage mono(64, 32, QImage::Format_Mono);
  mono.fill(1);
  mono.setDotsPerMeterX(7874);
  mono.setDotsPerMeterY(7874);
  ASSERT_TRUE(mono.save(path("scan.png")));
  ASSERT_TRUE(view.openImage(path("scan.png")).ok);
  EXPECT_EQ(view.image().format(), QImage::Format_Mono);
  EXPECT_EQ(view.image().dotsPerMeterX(), 7874);
  EXPECT_EQ(ProbeImage(path("scan.png"), true, 1).decodedBytes, 8 * 32);  // a bit a pixel, rows in words
  // Its transparent paper is white paper, still a bit a pixel.
  mono.setColorTable({qRgba(0, 0, 0, 0), qRgb(0, 0, 0)});
  mono.fill(0);
  mono.setPixel(5, 5, 1);
  ASSERT_TRUE(mono.save(path("clear.png")));
  ASSERT_TRUE(view.openImage(path("clear.png")).ok);
  EXPECT_EQ(view.image().format(), QImage::Format_Mono);
  EXPECT_EQ(view.image().pixel(1, 1), qRgb(255, 255, 255));
  EXPECT_EQ(view.image().pixel(5, 5), qRgb(0, 0, 0));
  const std::vector<DrawingPage> pages = DrawingPages(path("scan.tif"));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_NEAR(pages[0].widthMm, 600 / 300.0 * 25.4, 0.01);
}

// A multi-page PDF as a user opens it: the chooser offers both pages, page
// 2 is shown, the project keeps it and opens on it again; a page the file
// does not have is an error box with the drawing kept; the command line
// names the page without asking.
TEST_F(DrawingFormatsTest, TheChosenPageIsKeptInTheProjectAndNamedOnTheCommandLine) {
  auto sink = std::make_shared<FakeMessageSink>();
  MainWindow w(sink, folder.path());
  Answering chooser;
  chooser.answer = 2;
  w.setPageChooser(&chooser);
  w.setFileChooser([this](const FileChooserRequest&) { return path("site.ini"); });
  w.resize(900, 700);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.openImage(path("plan.pdf"));
  ASSERT_EQ(chooser.offered.size(), 2u);
  EXPECT_EQ(chooser.offered[1].widthPx, w.mapView()->image().width());
  EXPECT_NEAR(chooser.offered[1].widthMm, 420, 0.5);
  EXPECT_EQ(w.mapView()->imagePage(), 2);
  EXPECT_EQ(w.document().state.fMei_MapPage, 2);
  // The bitmap export and printing draw the shown page again at their own
  // resolution.
  EXPECT_NE(SurfaceOf(*w.mapView(), 2.0f).pdf, nullptr);
  ASSERT_TRUE(w.saveProjectAs());

  chooser.offered.clear();
  w.openImage(path("plan.pdf"), 3);
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_EQ(sink->boxes[0].title, QStringLiteral("画像表示時エラー"));
  EXPECT_TRUE(sink->boxes[0].text.contains(QStringLiteral("ページ 3 はありません")))
      << sink->boxes[0].text.toStdString();
  EXPECT_TRUE(chooser.offered.empty());
  EXPECT_EQ(w.mapView()->imagePage(), 2);

  MainWindow again(std::make_shared<FakeMessageSink>(), folder.path());
  again.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
  again.openProject(path("site.ini"));
  EXPECT_EQ(again.mapView()->imagePage(), 2);
  EXPECT_EQ(again.mapView()->image().size(), w.mapView()->image().size());

  const CommandLine named = ParseCommandLine(
      {QStringLiteral("planimo"), path("plan.pdf"), QStringLiteral("--page"), QStringLiteral("2")});
  EXPECT_TRUE(named.error.isEmpty());
  EXPECT_EQ(named.page, 2);
  EXPECT_FALSE(ParseCommandLine({QStringLiteral("planimo"), path("plan.pdf"),
                                 QStringLiteral("--page"), QStringLiteral("0")})
                   .error.isEmpty());
  // Without a window: the project's page, or the one named; one it does not
  // have is said, with a non-zero status.
  QString messages;
  QTextStream err(&messages);
  for (const auto& [pageArg, status] : {std::pair{"", 0}, std::pair{"1", 0}, std::pair{"5", 1}}) {
    QStringList args = {QStringLiteral("planimo"), QStringLiteral("--bmp"), path("site.ini"),
                        path("out.bmp")};
    if (*pageArg) args << QStringLiteral("--page") << QString::fromLatin1(pageArg);
    messages.clear();
    EXPECT_EQ(PrintWithoutWindow(ParseCommandLine(args), folder.path(), err), status) << pageArg;
    if (status == 0) {
      // At 100 % the page drawn for the bitmap is the page opened on screen.
      QImage page;
      ASSERT_TRUE(ReadImage(path("plan.pdf"), page, *pageArg ? 1 : 2).ok);
      EXPECT_EQ(QImage(path("out.bmp")).convertToFormat(QImage::Format_RGB32), page) << pageArg;
      const QSize expected = *pageArg ? At96Dpi(QPageSize(QPageSize::A4).sizePoints()) : a3;
      const QSize written = QImage(path("out.bmp")).size();
      EXPECT_LE(std::abs(written.width() - expected.width()) +
                    std::abs(written.height() - expected.height()),
                2)
          << pageArg;
    } else {
      EXPECT_TRUE(messages.contains(QStringLiteral("ページ 5 はありません")))
          << messages.toStdString();
    }
  }
  // Printed without a window, the page is drawn at the printer's dots: wider
  // than the 96 dpi picture of the A3 page, which fitting to A4 would shrink.
  ASSERT_EQ(
      PrintWithoutWindow(ParseCommandLine({QStringLiteral("planimo"), QStringLiteral("--pdf"),
                                           QStringLiteral("0"), path("site.ini"), path("out.pdf")}),
                         folder.path(), err),
      0)
      << messages.toStdString();
  QProcess list;
  list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path("out.pdf")});
  ASSERT_TRUE(list.waitForFinished(20000));
  int widest = 0;
  for (const QString& line :
       QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'))) {
    const QStringList f = line.simplified().split(QLatin1Char(' '));
    if (f.size() > 4 && f[2] == QStringLiteral("image")) widest = std::max(widest, f[3].toInt());
  }
  EXPECT_GT(widest, a3.width());
}

// Tiled scans as large-format scanners write them, a 1-bit G4 page and an
// 8-bit grey page whose last tiles reach past the page, and a G4 page of
// many strips (read on two threads): pixels land where they belong, a 1-bit
// page takes a bit a pixel and a grey one a byte, and every reduced level is
// 8-bit grey, a box of black and white its shade.
TEST_F(DrawingFormatsTest, TiledScansKeepTheirDepthAndReduceToGrey) {
  constexpr int kW = 2100, kH = 2000, kTile = 256;
  const auto ink = [](int x, int y) { return y == 1000 || x == 2090; };
  TIFF* tif = TIFFOpen(QFile::encodeName(path("tiled.tif")).constData(), "w");
  ASSERT_NE(tif, nullptr);
  // Tiled 1-bit and 8-bit pages, then a 1-bit page of many strips, the last one short.
  for (const auto& [bits, tiled] : {std::pair{1, true}, std::pair{8, true}, std::pair{1, false}}) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kW);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kH);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, bits == 1 ? COMPRESSION_CCITTFAX4 : COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
                 bits == 1 ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK);
    if (!tiled) {
      TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 48);
      std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tif)));
      for (int y = 0; y < kH; ++y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < kW; ++x)
          if (ink(x, y)) row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        ASSERT_EQ(TIFFWriteScanline(tif, row.data(), std::uint32_t(y), 0), 1);
      }
      TIFFWriteDirectory(tif);
      continue;
    }
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, kTile);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, kTile);
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(TIFFTileSize(tif)));
    for (int top = 0; top < kH; top += kTile) {
      for (int left = 0; left < kW; left += kTile) {
        std::fill(tile.begin(), tile.end(), 0);
        for (int y = top; y < std::min(kH, top + kTile); ++y) {
          for (int x = left; x < std::min(kW, left + kTile); ++x) {
            const std::size_t i = std::size_t((y - top) * kTile + (x - left));
            if (bits == 8)
              tile[i] = ink(x, y) ? 0 : std::uint8_t(100 + x % 100);
            else if (ink(x, y))
              tile[i / 8] |= std::uint8_t(0x80 >> (i % 8));
          }
        }
        ASSERT_GE(TIFFWriteTile(tif, tile.data(), std::uint32_t(left), std::uint32_t(top), 0, 0),
                  0);
      }
    }
    TIFFWriteDirectory(tif);
  }
  TIFFClose(tif);

  Document doc;
  MapView view(doc);
  for (const int page : {1, 2, 3}) {
    const ImageLoadResult opened = view.openImage(path("tiled.tif"), page);
    ASSERT_TRUE(opened.ok) << page << opened.description.toStdString();
    while (!view.picture()->levelsComplete())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const QImage& image = view.image();
    ASSERT_EQ(image.size(), QSize(kW, kH));
    // Decoded at the page's own depth, never through four-byte colour first.
    const bool mono = page != 2;
    EXPECT_EQ(ProbeImage(path("tiled.tif"), true, page).decodedBytes,
              mono ? qint64(kW + 31) / 32 * 4 * kH : qint64(kW) * kH)
        << page;
    EXPECT_EQ(image.format(), mono ? QImage::Format_Mono : QImage::Format_Grayscale8) << page;
    for (const QPoint p : {QPoint(5, 5), QPoint(2095, 1999), QPoint(2090, 1500), QPoint(1500, 1000),
                           QPoint(2089, 300)}) {
      const int paper = page == 2 ? 100 + p.x() % 100 : 255;
      EXPECT_EQ(qGray(image.pixel(p)), ink(p.x(), p.y()) ? 0 : paper)
          << page << " " << p.x() << "," << p.y();
    }
    ASSERT_EQ(view.picture()->levelCount(), ScanPicture::kMaxLevels);
    for (int level = 1; level < ScanPicture::kMaxLevels; ++level)
      EXPECT_EQ(view.picture()->readyPart(level).format(), QImage::Format_Grayscale8)
          << page << " " << level;
    // The ink row 1000 is half of each box of the 1/2 level's row 500, the
    // last column (2090 of 2100) half of its boxes at x 1045.
    const QImage half = view.picture()->readyPart(1);
    EXPECT_EQ(qGray(half.pixel(10, 500)), mono ? 128 : (120 + 121 + 2) / 4) << page;
    EXPECT_EQ(qGray(half.pixel(1045, 300)), mono ? 128 : (2 * 191 + 2) / 4) << page;
  }
}

// A scan large enough to decode in the background: the open returns at
// once over blank paper, the whole scan follows, and a drawing opened or a
// view closed meanwhile is never overwritten by it; a scan damaged past its
// directory is refused afterwards with the drawing before it back.
TEST_F(DrawingFormatsTest, LargeScanDecodesBehindTheWindowAndNothingStaleComesBack) {
  constexpr int kSide = 4096, kInkRow = 3000;
  const QString large = path("a1.tif");
  TIFF* tif = TIFFOpen(QFile::encodeName(large).constData(), "w");
  ASSERT_NE(tif, nullptr);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSide);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSide);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 256);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tif)));
  for (int y = 0; y < kSide; ++y) {
    std::fill(row.begin(), row.end(), std::uint8_t(y == kInkRow || y % 97 == 0 ? 0xFF : 0x01));
    ASSERT_EQ(TIFFWriteScanline(tif, row.data(), std::uint32_t(y), 0), 1);
  }
  TIFFClose(tif);

  Document doc;
  MapView view(doc);
  view.resize(800, 600);
  view.show();
  ASSERT_TRUE(view.openImage(path("scan.tif")).ok);
  QCoreApplication::processEvents();
  QSignalSpy ready(&view, &MapView::imageReady);
  const ImageLoadResult r = view.openImage(large);
  ASSERT_TRUE(r.ok) << r.description.toStdString();
  EXPECT_TRUE(r.pending);
  EXPECT_TRUE(view.isLoading());
  EXPECT_EQ(view.imageSize(), QSize(kSide, kSide));  // the surface is laid out already
  ASSERT_TRUE(ready.wait(30000));
  EXPECT_TRUE(ready.front().front().value<ImageLoadResult>().ok);
  EXPECT_FALSE(view.isLoading());
  ASSERT_EQ(view.image().size(), QSize(kSide, kSide));
  EXPECT_EQ(view.image().format(), QImage::Format_Mono);
  EXPECT_EQ(DarkPixels(view.image(), kInkRow), kSide);
  EXPECT_EQ(DarkPixels(view.image(), kSide - 1), kSide / 8);

  // Another drawing asked for at once: the scan is read to its end, then
  // the other shows and stays.
  ASSERT_TRUE(view.openImage(large).pending);
  ASSERT_TRUE(view.openImage(path("scan.tif"), 2).ok);
  QTest::qWait(200);
  EXPECT_FALSE(view.isLoading());
  EXPECT_EQ(view.image().size(), QSize(320, 200));
  // Closed while it decodes: nothing of the scan comes back.
  ASSERT_TRUE(view.openImage(large).pending);
  view.clearImage();
  EXPECT_FALSE(view.isLoading());
  QTest::qWait(200);
  EXPECT_FALSE(view.hasImage());
  {  // A view closed while it decodes: the decode's report reaches nobody.
    Document other;
    MapView closing(other);
    ASSERT_TRUE(closing.openImage(large).pending);
  }
  QTest::qWait(100);

  // A strip whose codes are damaged from its start: only the decode finds out.
  std::uint64_t stripStart = 0, stripBytes = 0;
  tif = TIFFOpen(QFile::encodeName(large).constData(), "r");
  ASSERT_NE(tif, nullptr);
  stripStart = TIFFGetStrileOffset(tif, 9);
  stripBytes = TIFFGetStrileByteCount(tif, 9);
  TIFFClose(tif);
  QFile file(large);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.seek(qint64(stripStart)));
  file.write(QByteArray(qsizetype(stripBytes), char(0x00)));
  file.close();
  // In the window: locked while it decodes, then the error box and the
  // drawing before it back.
  auto sink = std::make_shared<FakeMessageSink>();
  MainWindow w(sink, folder.path());
  w.show();
  w.openImage(path("plan.pdf"), 1);
  ASSERT_TRUE(sink->boxes.empty());
  const QSize before = w.mapView()->image().size();
  w.openImage(large);
  EXPECT_FALSE(w.isEnabled());
  QSignalSpy refused(w.mapView(), &MapView::imageReady);
  ASSERT_TRUE(refused.wait(30000));
  EXPECT_TRUE(w.isEnabled());
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_EQ(sink->boxes[0].title, QStringLiteral("画像表示時エラー"));
  EXPECT_TRUE(sink->boxes[0].text.contains(QStringLiteral("画像のデータが壊れています。")));
  EXPECT_EQ(w.mapView()->image().size(), before);
  EXPECT_EQ(w.mapView()->imagePath(), path("plan.pdf"));
}

// The window's own chooser: a line and a picture per page, the page picked
// answered, a cancel answered with nothing.
TEST_F(DrawingFormatsTest, ThePageDialogListsEveryPageWithItsPicture) {
  const std::vector<DrawingPage> pages = DrawingPages(path("plan.pdf"));
  for (const bool accept : {true, false}) {
    int rows = 0;
    bool pictures = true;
    bool whole = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      auto* list = dialog->findChild<QListWidget*>();
      rows = list->count();
      for (int i = 0; i < rows; ++i) pictures = pictures && !list->item(i)->icon().isNull();
      // Every line shows whole, its page size included.
      whole = list->horizontalScrollBar()->maximum() == 0;
      list->setCurrentRow(1);
      accept ? dialog->accept() : dialog->reject();
    });
    PageDialog dialog(nullptr, path("plan.pdf"));
    EXPECT_EQ(dialog.ChoosePage(pages), accept ? std::optional<int>(2) : std::nullopt);
    EXPECT_EQ(rows, 2);
    EXPECT_TRUE(pictures);
    EXPECT_TRUE(whole);
  }
}

}  // namespace
}  // namespace planimo
