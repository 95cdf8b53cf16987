// A PDF drawing written and printed at the output's own resolution: the
// bitmap at its zoom, strip by strip, and the printer at its dots per inch,
// band by band, never the 96 dpi picture of the screen scaled up.

#include <gtest/gtest.h>

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "print/bitmap_export.h"
#include "print/composition.h"
#include "print/page_layout.h"
#include "print/page_printer.h"
#include "print/pdf_drawing.h"
#include "print/printer_choice.h"
#include "view/image_loader.h"
#include "view/qt_text_measurer.h"
#include "view/view_units.h"

namespace planimo {
namespace {

// An A6 page with a hairline grid, whose edges blur at once when a 96 dpi
// picture is scaled.
void WritePlot(const QString& path) {
  QPdfWriter writer(path);
  writer.setResolution(254);  // one unit is 0.1 mm
  writer.setPageSize(QPageSize(QPageSize::A6));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter(&writer);
  painter.setPen(QPen(Qt::black, 2));
  for (int at = 50; at < 1000; at += 37) {
    painter.drawLine(at, 0, at, 1480);
    painter.drawLine(0, at, 1050, at);
  }
}

// Width and height of each image the PDF holds, in order.
std::vector<QSize> Images(const QString& pdf) {
  QProcess list;
  list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  EXPECT_TRUE(list.waitForFinished(20000));
  std::vector<QSize> sizes;
  for (const QString& line : QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'))) {
    const QStringList f = line.simplified().split(QLatin1Char(' '));
    if (f.size() > 4 && f[2] == QStringLiteral("image")) sizes.emplace_back(f[3].toInt(), f[4].toInt());
  }
  return sizes;
}

class PdfOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    doc.measurer = std::make_shared<QtTextMeasurer>();
    WritePlot(File("plot.pdf"));
    ASSERT_TRUE(ReadImage(File("plot.pdf"), surface.image, 1).pdfPage);
    surface.fullSize = surface.image.size();
    surface.pdf = PdfDrawing::Open(File("plot.pdf"), 1, surface.fullSize);
    ASSERT_NE(surface.pdf, nullptr);
  }
  QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir dir;
  Document doc;
  Surface surface;
  PrinterChoice printers;
};

TEST_F(PdfOutputTest, BitmapIsThePageDrawnAtTheZoomStripByStrip) {
  // At 100 % the bitmap is the page at 96 dpi, exactly the picture on screen.
  ASSERT_EQ(ExportBitmap(File("100.bmp"), surface, doc).number, 0);
  const QImage at100 = QImage(File("100.bmp")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(at100.size(), surface.image.size());
  EXPECT_EQ(at100, surface.image);

  // At 250 %, in strips of a few rows, it is the page drawn at 240 dpi: the
  // same as one drawing of the whole page, sharp, no seam between strips.
  surface.zoom = 2.5f;
  ASSERT_EQ(ExportBitmap(File("250.bmp"), surface, doc, 40'000).number, 0);
  const QImage at250 = QImage(File("250.bmp")).convertToFormat(QImage::Format_RGB32);
  const QSize size = surface.sizePx();
  ASSERT_EQ(at250.size(), size);
  const QImage whole = surface.pdf->render(size, QRect(QPoint(0, 0), size));
  EXPECT_EQ(at250, whole);
  // Any part of the page, as printing draws its bands and tiles.
  const QRect part(123, 457, 301, 203);
  EXPECT_EQ(surface.pdf->render(size, part), whole.copy(part));
  const QImage scaled = surface.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_NE(at250, scaled);

  // A file changed since the drawing was loaded is not drawn from.
  EXPECT_EQ(PdfDrawing::Open(File("plot.pdf"), 1, surface.fullSize + QSize(1, 0)), nullptr);
  EXPECT_EQ(PdfDrawing::Open(File("plot.pdf"), 2, surface.fullSize), nullptr);
}

TEST_F(PdfOutputTest, PrintsThePageAtThePrintersResolutionByEveryMethod) {
  QPrinter& printer = *printers.printer(kPdfPrinterName);
  const int dpi = printer.resolution();
  const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  const SizeMm page{paint.width(), paint.height()};
  for (const int method : {int(kPrintFitPage), int(kPrintStretch), int(kPrintTiled)}) {
    printer.setOutputFileName(File("print.pdf"));
    const PrintOutcome outcome = PrintDrawing(printer, method, surface, doc);
    ASSERT_EQ(outcome.error.number, 0) << method;
    ASSERT_EQ(outcome.pages, 1) << method;
    // The area printed, in the printer's dots.
    SizeMm covered = surface.sizeMm();
    if (method != kPrintTiled) {
      const std::optional<RectMm> r = ImageOnPage(method, page, surface.sizeMm(), true);
      ASSERT_TRUE(r);
      covered = SizeMm{r->width, r->height};
    }
    const QSize dots(int(std::lround(covered.width / 25.4 * dpi)), int(std::lround(covered.height / 25.4 * dpi)));
    const std::vector<QSize> bands = Images(File("print.pdf"));
    ASSERT_FALSE(bands.empty()) << method;
    int rows = 0;
    for (const QSize& b : bands) {
      EXPECT_NEAR(b.width(), dots.width(), 1) << method;
      rows += b.height();
    }
    EXPECT_NEAR(rows, dots.height(), 1) << method;
    EXPECT_GT(rows, surface.image.height() * 2) << method;
  }
}

}  // namespace
}  // namespace planimo
