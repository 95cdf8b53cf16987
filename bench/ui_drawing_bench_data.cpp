#include "ui_drawing_bench_data.h"

#include <tiffio.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <cstdio>
#include <vector>

#include "model/document.h"
#include "ui_bench_data.h"
#include "view/map_view.h"

namespace planimo {

namespace {

QString BenchFile(const char* name) {
  const QString dir = qEnvironmentVariableIsSet("PLANIMO_BENCH_DIR")
                          ? qEnvironmentVariable("PLANIMO_BENCH_DIR")
                          : QStringLiteral("/tmp/planimo-bench");
  QDir().mkpath(dir);
  return dir + QLatin1Char('/') + QString::fromLatin1(name);
}

void Publish(const QString& part, const QString& path) {
  if (!QFile::rename(part, path)) qFatal("cannot write %s", qPrintable(path));
}

// What a plotted floor plan holds: walls on a grid, then the fittings,
// dimension lines and hatching as short segments, and room names.
struct PlanPart {
  enum Kind { kLine, kCircle, kText } kind;
  QLineF line;  // a circle's centre and radius are p1 and dx
  QString text;
  int width = 1;
};

std::vector<PlanPart> PlanParts(QSizeF sheet, int segments, int texts, int wallStep,
                                double segmentLength, double textSize) {
  std::vector<PlanPart> parts;
  QRandomGenerator rng(42);
  const double w = sheet.width(), h = sheet.height();
  for (double x = wallStep; x < w; x += wallStep)
    parts.push_back({PlanPart::kLine, QLineF(x, 0, x, h), {}, 5});
  for (double y = wallStep; y < h; y += wallStep)
    parts.push_back({PlanPart::kLine, QLineF(0, y, w, y), {}, 5});
  while (int(parts.size()) < segments) {
    const double x = rng.bounded(w), y = rng.bounded(h);
    const double dx = rng.bounded(2 * segmentLength) - segmentLength;
    const double dy = rng.bounded(2 * segmentLength) - segmentLength;
    parts.push_back({PlanPart::kLine,
                     QLineF(x, y, std::clamp(x + dx, 0.0, w), std::clamp(y + dy, 0.0, h)),
                     {},
                     1});
  }
  for (int i = 0; i < texts; ++i) {
    parts.push_back({PlanPart::kText, QLineF(rng.bounded(w), rng.bounded(h), 0, 0),
                     QStringLiteral("居室 %1  %2.5 m²").arg(i).arg(10 + i % 40), 1});
  }
  for (int i = 0; i < texts / 2; ++i)
    parts.push_back(
        {PlanPart::kCircle, QLineF(rng.bounded(w), rng.bounded(h), textSize, 0), {}, 2});
  return parts;
}

void DrawParts(QPainter& p, const std::vector<PlanPart>& parts, const QRectF& band,
               double textSize) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(int(textSize));
  p.setFont(font);
  const double reach = textSize * 12;
  for (const PlanPart& part : parts) {
    const QRectF box =
        part.kind == PlanPart::kLine
            ? QRectF(part.line.p1(), part.line.p2()).normalized().adjusted(-5, -5, 5, 5)
            : QRectF(part.line.p1(), QSizeF(1, 1)).adjusted(-reach, -reach, reach, reach);
    if (!box.intersects(band)) continue;
    p.setPen(QPen(Qt::black, part.width));
    if (part.kind == PlanPart::kLine)
      p.drawLine(part.line);
    else if (part.kind == PlanPart::kCircle)
      p.drawEllipse(part.line.p1(), part.line.dx(), part.line.dx());
    else
      p.drawText(part.line.p1(), part.text);
  }
}

}  // namespace

QString BenchPlotPdf() {
  const QString path = BenchFile("plot_a1.pdf");
  if (QFile::exists(path)) return path;
  const QString part = path + QStringLiteral(".part");
  {
    QPdfWriter writer(part);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A1));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&writer);
    const QSizeF sheet(writer.width(), writer.height());
    const std::vector<PlanPart> parts = PlanParts(sheet, 40000, 4000, 1200, 400, 40);
    DrawParts(p, parts, QRectF(QPointF(0, 0), sheet), 40);
  }
  Publish(part, path);
  return path;
}

QString BenchG4Scan() {
  const QString path = BenchFile("scan_a0_600dpi_g4.tif");
  if (QFile::exists(path)) return path;
  const QString part = path + QStringLiteral(".part");
  const int w = kBenchScanSize.width(), h = kBenchScanSize.height();
  constexpr int kRowsPerStrip = 512;
  TIFF* tif = TIFFOpen(QFile::encodeName(part).constData(), "w");
  if (tif == nullptr) qFatal("cannot write %s", qPrintable(part));
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kRowsPerStrip);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 600.0);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 600.0);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  // The sheet drawn a band of rows at a time in grey, then cut to black and white.
  const std::vector<PlanPart> parts = PlanParts(QSizeF(w, h), 60000, 6000, 1200, 500, 50);
  QImage band(w, kRowsPerStrip, QImage::Format_Grayscale8);
  std::vector<std::uint8_t> row(std::size_t((w + 7) / 8));
  for (int top = 0; top < h; top += kRowsPerStrip) {
    band.fill(255);
    {
      QPainter p(&band);
      p.translate(0, -top);
      DrawParts(p, parts, QRectF(0, top, w, kRowsPerStrip), 50);
    }
    for (int y = top; y < std::min(h, top + kRowsPerStrip); ++y) {
      const uchar* grey = band.constScanLine(y - top);
      std::fill(row.begin(), row.end(), 0);
      for (int x = 0; x < w; ++x)
        if (grey[x] < 128) row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
      if (TIFFWriteScanline(tif, row.data(), std::uint32_t(y), 0) != 1)
        qFatal("cannot write %s", qPrintable(part));
    }
  }
  TIFFClose(tif);
  Publish(part, path);
  return path;
}

int PeakDrawingChild(int argc, char** argv) {
  QApplication app(argc, argv);
  Document doc;
  MapView view(doc);
  view.resize(QSize(1920, 1080));
  view.resize(QSize(1920, 1080) * 2 - view.viewportArea());
  view.show();
  QCoreApplication::processEvents();
  const ImageLoadResult r = view.openImage(QString::fromLocal8Bit(argv[2]));
  if (!r.ok) return 1;
  if (r.pending) {
    QEventLoop loop;
    QObject::connect(&view, &MapView::imageReady, &loop, &QEventLoop::quit);
    loop.exec();
  }
  while (view.picture() && !view.picture()->levelsComplete())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  view.viewport()->repaint();
  std::printf("%.1f %.1f\n", PeakResidentMb(), double(view.image().sizeInBytes()) / (1024 * 1024));
  return 0;
}

}  // namespace planimo
