#include "ui_bench_data.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <cstdio>
#include <fstream>
#include <string>

#include "model/document.h"
#include "view/view_units.h"

namespace planimo {

namespace {

constexpr int kWidth = 12000;
constexpr int kHeight = 9000;

// A scanned plan: a grid of walls, hatching, circles and text on white paper.
void DrawPlan(QImage& image) {
  image.fill(Qt::white);
  QPainter p(&image);
  QRandomGenerator rng(42);
  p.setPen(QPen(QColor(30, 30, 30), 3));
  for (int x = 200; x < kWidth; x += 600) p.drawLine(x, 100, x, kHeight - 100);
  for (int y = 200; y < kHeight; y += 600) p.drawLine(100, y, kWidth - 100, y);
  p.setPen(QPen(QColor(60, 60, 160), 1));
  for (int i = 0; i < 20000; ++i) {
    const int x = rng.bounded(kWidth), y = rng.bounded(kHeight);
    p.drawLine(x, y, x + rng.bounded(-300, 300), y + rng.bounded(-300, 300));
  }
  p.setPen(QPen(QColor(160, 40, 40), 2));
  for (int i = 0; i < 2000; ++i) p.drawEllipse(QPoint(rng.bounded(kWidth), rng.bounded(kHeight)), 40, 40);
  p.setPen(Qt::black);
  p.setFont(QFont(QStringLiteral("IPAPGothic"), 40));
  for (int i = 0; i < 1500; ++i) p.drawText(rng.bounded(kWidth), rng.bounded(kHeight), QStringLiteral("居室 %1").arg(i));
}

}  // namespace

QString BenchImage(bool grey) {
  const QString dir = qEnvironmentVariableIsSet("PLANIMO_BENCH_DIR") ? qEnvironmentVariable("PLANIMO_BENCH_DIR")
                                                                     : QStringLiteral("/tmp/planimo-bench");
  QDir().mkpath(dir);
  const QString path = dir + (grey ? QStringLiteral("/plan_grey.jpg") : QStringLiteral("/plan_colour.jpg"));
  if (QFile::exists(path)) return path;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  DrawPlan(image);
  if (grey) image = image.convertToFormat(QImage::Format_Grayscale8);
  QImageWriter writer(path + QStringLiteral(".part"), "jpeg");
  writer.setQuality(85);
  if (!writer.write(image) || !QFile::rename(path + QStringLiteral(".part"), path)) qFatal("cannot write %s", qPrintable(path));
  return path;
}

void KeepDistances(Document& doc, int count, int widthPx, int heightPx) {
  Collections& o = doc.objects;
  QRandomGenerator rng(7);
  const float wMm = static_cast<float>(PxToMm(widthPx));
  const float hMm = static_cast<float>(PxToMm(heightPx));
  for (int k = 0; k < count; ++k) {
    const float x1 = static_cast<float>(rng.bounded(double(wMm - 60))) + 10;
    const float y1 = static_cast<float>(rng.bounded(double(hMm - 60))) + 10;
    const float x2 = x1 + static_cast<float>(rng.bounded(50.0));
    const float y2 = y1 + static_cast<float>(rng.bounded(50.0));
    LineRecord& d = o.lineDsSave.back();
    d = LineRecord{true, "", x1, y1, x2, y2, Rgb(0, 0, 255), 1, kStyleSolid};
    AppendSpare(o.lineDsSave);
    for (int e = 0; e < 2; ++e) {
      LineRecord& h = o.lineHojoSave.back();
      const float x = e ? x2 : x1, y = e ? y2 : y1;
      h = LineRecord{true, "", x, y, x - 4, y + 4, Rgb(0, 0, 255), 1, kStyleSolid};
      AppendSpare(o.lineHojoSave);
      ShapeRecord& m = o.shpSnpo.back();
      m.Visible = true;
      m.Left = x - m.Width / 2;
      m.Top = y - m.Height / 2;
      AppendSpare(o.shpSnpo);
    }
    TextRecord& label = o.lblKyori.back();
    label.Visible = true;
    label.Caption = " " + std::to_string(1000 + k) + ".25m ";
    AutoSize(label, *doc.measurer);
    label.Left = (x1 + x2) / 2 - label.Width / 2;
    label.Top = (y1 + y2) / 2 - label.Height / 2;
    AppendSpare(o.lblKyori);
  }
}

double PeakResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

std::optional<PeakFigures> RunPeakChild(const QString& mode, const QString& path, int timeoutMs) {
  QProcess child;
  child.start(QStringLiteral("/proc/self/exe"), {QStringLiteral("--") + mode, path});
  if (!child.waitForFinished(timeoutMs) || child.exitCode() != 0) return std::nullopt;
  PeakFigures f;
  if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %lf", &f.peakMb, &f.decodedMb) != 2) {
    return std::nullopt;
  }
  return f;
}

}  // namespace planimo
