// The composed drawing and the printed pages, read back as a user would get
// them: the bitmap file from disk and the PDF through poppler.

#include <gtest/gtest.h>

#include <QImageReader>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "../core/print/print_scenario.h"
#include "pdf_reader.h"
#include "print/bitmap_export.h"
#include "print/composition.h"
#include "print/page_printer.h"
#include "print/printer_choice.h"
#include "view/qt_text_measurer.h"
#include "view/view_units.h"

namespace planimo {
namespace {

const QColor kGrey(128, 128, 128);

QImage Filled(QSize size, QColor c) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(c);
  return image;
}

QRect PxRect(const TextRecord& t) {
  return QRect(QPoint(int(MmToPx(t.Left)) + 1, int(MmToPx(t.Top)) + 1),
               QPoint(int(MmToPx(t.Left + t.Width)) - 2, int(MmToPx(t.Top + t.Height)) - 2));
}

int CountNot(const QImage& img, const QRect& r, QColor c) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += img.pixelColor(x, y) != c;
  return n;
}

// The page's image travels as JPEG: colours come back a step or two off.
bool Near(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) <= 4 && std::abs(a.green() - b.green()) <= 4 && std::abs(a.blue() - b.blue()) <= 4;
}

// Bounding box of the pixels that are not white.
QRect Inked(const QImage& img) {
  QRect box;
  for (int y = 0; y < img.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      if ((line[x] & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

class PrintOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    doc.measurer = std::make_shared<QtTextMeasurer>();
    print_scenario::Fill(doc);
    surface.image = Filled(QSize(400, 340), kGrey);
    surface.fullSize = surface.image.size();
  }
  QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  // The PDF "printer", into `name`.
  QPrinter& Pdf(const char* name) {
    QPrinter* p = printers.printer(kPdfPrinterName);
    p->setOutputFileName(File(name));
    return *p;
  }

  QTemporaryDir dir;
  Document doc;
  Surface surface;
  PrinterChoice printers;
};

TEST_F(PrintOutputTest, BitmapIsTheDisplayedSurfaceWithOpaqueLabelsAndCommentLines) {
  for (bool comments : {false, true}) {
    doc.state.GE_booPrtCmt = comments;
    const QString path = File("out.bmp");
    ASSERT_EQ(ExportBitmap(path, surface, doc).number, 0);
    const QImage bmp = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(bmp.size(), QSize(400, 340));
    EXPECT_EQ(QImageReader(path).format(), "bmp");

    // Labels transparent on screen sit on the paper colour, never on the image.
    const TextRecord& distance = doc.objects.lblKyori[0];
    EXPECT_EQ(CountNot(bmp, PxRect(distance), kGrey), PxRect(distance).width() * PxRect(distance).height());
    // The tooltip line one font height below: under value and position
    // labels when asked for, never under a comment text.
    for (const TextRecord* t : std::initializer_list<const TextRecord*>{&distance, &doc.objects.lblKeiIdoS[1], &doc.objects.lblMoji[1]}) {
      const QRect below = PxRect(*t).translated(0, int(MmToPx(t->FontSize * kMmPerPoint)));
      const bool expected = comments && t != &doc.objects.lblMoji[1];
      EXPECT_EQ(CountNot(bmp, below, kGrey) > below.width() * below.height() / 2, expected)
          << t->Caption << " comments " << comments;
    }
    // The route outline (3 px, purple) is in the picture.
    EXPECT_EQ(bmp.pixelColor(int(MmToPx(50)), int(MmToPx(70))), QColor(128, 0, 128));
  }

  // At half zoom the bitmap has the half-size surface's pixels.
  surface.zoom = 0.5f;
  ASSERT_EQ(ExportBitmap(File("half.bmp"), surface, doc).number, 0);
  EXPECT_EQ(QImage(File("half.bmp")).size(), QSize(200, 170));
}

TEST_F(PrintOutputTest, BitmapWrittenInStripsMatchesTheWholeComposition) {
  // Strips of 64 rows, with labels and lines across their edges.
  surface.image = Filled(QSize(300, 700), kGrey);
  surface.fullSize = surface.image.size();
  doc.state.GE_booPrtCmt = true;
  // Strips from the bottom end at rows 636, 572, ... 60.
  for (int i = 0; i < 18; ++i) {
    const int edge = 700 - 64 * (i / 2 + 1);
    TextRecord t = print_scenario::Label("境目 123.4m ", "45°", 3 + 4 * i, float(PxToMm(edge - 4 - 3 * (i % 2))), Rgb(200, 0, 0));
    AutoSize(t, *doc.measurer);
    doc.objects.lblMoji.push_back(t);
  }
  doc.objects.lineHikidashi.back() = print_scenario::Line(1, 1, 70, 180, Rgb(0, 0, 255), 2);
  AppendSpare(doc.objects.lineHikidashi);
  ASSERT_EQ(ExportBitmap(File("strips.bmp"), surface, doc, 300 * 64).number, 0);
  const QImage whole = ComposeAll(surface, CompositionPlan(doc), doc.measurer.get());
  const QImage strips = QImage(File("strips.bmp")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(strips.size(), whole.size());
  // Lines rasterised in another strip may land one pixel over, as they do
  // on the screen at another scroll position; nothing may be missing.
  int unmatched = 0;
  for (int y = 0; y < whole.height(); ++y)
    for (int x = 0; x < whole.width(); ++x) {
      if (whole.pixel(x, y) == strips.pixel(x, y)) continue;
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          near = near || (strips.valid(x + dx, y + dy) && strips.pixel(x + dx, y + dy) == whole.pixel(x, y));
      unmatched += !near;
    }
  EXPECT_EQ(unmatched, 0);
}

TEST_F(PrintOutputTest, ScaledMethodsFillThePageAsTheirRulesSay) {
  doc = Document();
  surface.image = Filled(QSize(800, 200), Qt::red);  // four times as wide as high
  surface.fullSize = surface.image.size();
  constexpr int kDpi = 50;
  const auto printed = [&](int method) {
    QPrinter& printer = Pdf("scaled.pdf");
    const PrintOutcome out = PrintDrawing(printer, method, surface, doc);
    EXPECT_EQ(out.error.number, 0) << out.error.description;
    EXPECT_EQ(pdf_reader::Pages(File("scaled.pdf")), 1);
    const std::vector<QImage> pages = pdf_reader::Render(File("scaled.pdf"), kDpi, dir.path());
    return pages.empty() ? QRect() : Inked(pages.front());
  };
  const QRectF printable = printers.printer(kPdfPrinterName)->pageLayout().paintRect(QPageLayout::Millimeter);
  const auto px = [](double mm) { return mm / 25.4 * kDpi; };

  const QRect fit = printed(kPrintFitPage);  // the width decides; the rest of the page stays blank
  EXPECT_NEAR(fit.left(), px(printable.left()), 1.5);
  EXPECT_NEAR(fit.width(), px(printable.width()), 1.5);
  EXPECT_NEAR(fit.height(), px(printable.width()) / 4, 1.5);

  const QRect stretch = printed(kPrintStretch);  // the whole printable area
  EXPECT_NEAR(stretch.width(), px(printable.width()), 1.5);
  EXPECT_NEAR(stretch.height(), px(printable.height()), 1.5);

  // At another zoom the whole image still fills the page.
  surface.zoom = 0.75f;
  const QRect zoomed = printed(kPrintStretch);
  EXPECT_NEAR(zoomed.width(), px(printable.width()), 1.5);
  EXPECT_NEAR(zoomed.height(), px(printable.height()), 1.5);

  // More pixels than the page's device has: brought down from the source
  // row by row, whatever its format, and never a page without the picture.
  // Left half black; the right half white or transparent (the paper shows).
  Pdf("scaled.pdf").setResolution(kDpi);
  surface.zoom = 1.0f;
  for (const QImage::Format format :
       {QImage::Format_Grayscale8, QImage::Format_Mono, QImage::Format_ARGB32, QImage::Format_RGB32}) {
    QImage big(1600, 400, QImage::Format_ARGB32);
    big.fill(format == QImage::Format_ARGB32 ? QColor(Qt::transparent) : QColor(Qt::white));
    QPainter(&big).fillRect(0, 0, 800, 400, Qt::black);
    surface.image = big.convertToFormat(format);
    surface.fullSize = surface.image.size();
    const QRect inked = printed(kPrintFitPage);
    EXPECT_NEAR(inked.width(), px(printable.width()) / 2, 3) << format;
    EXPECT_NEAR(inked.height(), px(printable.width()) / 4, 3) << format;
  }
}

TEST_F(PrintOutputTest, TiledMethodPrintsColumnByColumnAndNothingWithoutAnImage) {
  doc = Document();
  QPrinter& printer = Pdf("tiles.pdf");
  const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  const QSizeF pagePx(MmToPx(printable.width()), MmToPx(printable.height()));
  // 2 pages wide and 3 high, each page's part in a colour of its own.
  const QSize size(int(pagePx.width() * 1.5), int(pagePx.height() * 2.5));
  surface.image = Filled(size, Qt::white);
  const QColor colours[2][3] = {{Qt::red, Qt::green, Qt::blue}, {Qt::cyan, Qt::magenta, Qt::yellow}};
  for (int c = 0; c < 2; ++c)
    for (int r = 0; r < 3; ++r) {
      const QRect part = QRect(int(c * pagePx.width()), int(r * pagePx.height()), int(pagePx.width()), int(pagePx.height())) & surface.image.rect();
      for (int y = part.top() + 5; y < part.bottom() - 5; ++y)
        for (int x = part.left() + 5; x < part.right() - 5; ++x) surface.image.setPixelColor(x, y, colours[c][r]);
    }
  surface.fullSize = size;
  const PrintOutcome out = PrintDrawing(printer, kPrintTiled, surface, doc);
  ASSERT_EQ(out.error.number, 0) << out.error.description;
  EXPECT_EQ(out.pages, 6);
  const std::vector<QImage> pages = pdf_reader::Render(File("tiles.pdf"), 20, dir.path());
  ASSERT_EQ(pages.size(), 6u);
  const QColor order[6] = {Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta, Qt::yellow};
  for (int i = 0; i < 6; ++i) {
    const QImage& p = pages[std::size_t(i)];
    EXPECT_TRUE(Near(p.pixelColor(p.width() / 4, p.height() / 4), order[i])) << "page " << i + 1;
  }

  // At another zoom the tiles still meet exactly: each page's picture
  // ends where the next one's begins, no row or column printed twice.
  surface.zoom = 0.75f;
  surface.fullSize = QSize(int(std::ceil(size.width() / 0.75)), int(std::ceil(size.height() / 0.75)));
  ASSERT_EQ(PrintDrawing(Pdf("zoomed.pdf"), kPrintTiled, surface, doc).pages, 6);
  QProcess list;
  list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), File("zoomed.pdf")});
  ASSERT_TRUE(list.waitForFinished(20000));
  std::vector<QSize> parts;
  for (const QString& line : QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'))) {
    const QStringList f = line.simplified().split(QLatin1Char(' '));
    if (f.size() > 4 && f[2] == QStringLiteral("image")) parts.emplace_back(f[3].toInt(), f[4].toInt());
  }
  ASSERT_EQ(parts.size(), 6u);
  const QSize zoomedPx = surface.sizePx();
  EXPECT_EQ(parts[0].width() + parts[3].width(), zoomedPx.width());
  EXPECT_EQ(parts[0].height() + parts[1].height() + parts[2].height(), zoomedPx.height());

  Surface none;
  QPrinter& again = Pdf("none.pdf");
  const PrintOutcome nothing = PrintDrawing(again, kPrintTiled, none, doc);
  EXPECT_EQ(nothing.pages, 0);
  EXPECT_EQ(nothing.error.number, 0);
  EXPECT_FALSE(QFile::exists(File("none.pdf")));
}

// Transparent pixels of a GIF or a bitmap with alpha show the paper, in
// every strip of the bitmap and on every tiled page, never what the strip
// or page before left there.
TEST_F(PrintOutputTest, TransparentPixelsShowThePaper) {
  doc = Document();
  surface.image = QImage(300, 700, QImage::Format_ARGB32);
  surface.image.fill(Qt::transparent);
  surface.fullSize = surface.image.size();
  ASSERT_EQ(ExportBitmap(File("clear.bmp"), surface, doc, 300 * 64).number, 0);
  EXPECT_EQ(Inked(QImage(File("clear.bmp")).convertToFormat(QImage::Format_RGB32)), QRect());
  ASSERT_EQ(PrintDrawing(Pdf("clear.pdf"), kPrintTiled, surface, doc).error.number, 0);
  for (const QImage& page : pdf_reader::Render(File("clear.pdf"), 20, dir.path())) {
    int dark = 0;  // the page's image travels as JPEG: white may come back a step off
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x) dark += !Near(page.pixelColor(x, y), Qt::white);
    EXPECT_EQ(dark, 0);
  }
}

TEST_F(PrintOutputTest, LineWidthsAreDevicePixelsAndMonochromeHasNoColour) {
  // No image: the objects print at their own millimetres.
  Surface none;
  Document lines;
  lines.objects.lineHojoSave[0] = print_scenario::Line(20, 30, 120, 30, Rgb(255, 0, 0), 1);
  AppendSpare(lines.objects.lineHojoSave);
  lines.objects.lineHojoSave[1] = print_scenario::Line(20, 60, 120, 60, Rgb(255, 0, 0), 2);
  AppendSpare(lines.objects.lineHojoSave);
  const PrintOutcome out = PrintDrawing(Pdf("widths.pdf"), kPrintFitPage, none, lines);
  ASSERT_EQ(out.error.number, 0) << out.error.description;
  const std::vector<QImage> pages = pdf_reader::Render(File("widths.pdf"), 300, dir.path());
  ASSERT_EQ(pages.size(), 1u);
  const QRectF printable = printers.printer(kPdfPrinterName)->pageLayout().paintRect(QPageLayout::Millimeter);
  const int x = int((printable.left() + 70) / 25.4 * 300);
  const auto thickness = [&](double yMm) {
    const int y0 = int((printable.top() + yMm) / 25.4 * 300);
    int n = 0;
    for (int y = y0 - 20; y <= y0 + 20; ++y) n += pages[0].pixelColor(x, y) == QColor(Qt::red);
    return n;
  };
  EXPECT_EQ(thickness(30), 1);
  EXPECT_EQ(thickness(60), 8);

  // Monochrome: a coloured drawing with coloured annotations prints grey.
  surface.image = Filled(QSize(300, 200), QColor(30, 160, 220));
  QPrinter& mono = Pdf("mono.pdf");
  mono.setColorMode(QPrinter::GrayScale);
  for (int method : {kPrintFitPage, kPrintTiled}) {
    ASSERT_EQ(PrintDrawing(mono, method, surface, doc).error.number, 0);
    const std::vector<QImage> grey = pdf_reader::Render(File("mono.pdf"), 40, dir.path());
    ASSERT_FALSE(grey.empty());
    int coloured = 0;
    for (int y = 0; y < grey[0].height(); ++y)
      for (int x2 = 0; x2 < grey[0].width(); ++x2) {
        const QColor c = grey[0].pixelColor(x2, y);
        coloured += c.red() != c.green() || c.green() != c.blue();
      }
    EXPECT_EQ(coloured, 0) << "method " << method;
    EXPECT_NE(Inked(grey[0]), QRect()) << "method " << method;
  }
  mono.setColorMode(QPrinter::Color);
}

}  // namespace
}  // namespace planimo
