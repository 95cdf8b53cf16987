// The bitmap export and printing of a 12000 x 9000 drawing (108 MP) with
// 10,000 kept distances: the export against Qt's own BMP writer of the bare
// picture, and a print to PDF (method 0, A4) with its file size.

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPrinter>
#include <chrono>

#include "model/document.h"
#include "print/bitmap_export.h"
#include "print/page_printer.h"
#include "print/printer_choice.h"
#include "ui_bench_data.h"
#include "view/qt_text_measurer.h"

namespace planimo {
namespace {

constexpr int kDistances = 10000;

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// The drawing as the view holds it at 100 %: the decoded scan and its objects.
struct Drawing {
  Drawing() {
    doc.measurer = std::make_shared<QtTextMeasurer>();
    QImageReader reader(BenchImage(false));
    surface.image = reader.read().convertToFormat(QImage::Format_RGB32);
    surface.fullSize = surface.image.size();
    KeepDistances(doc, kDistances, surface.fullSize.width(), surface.fullSize.height());
  }
  Document doc;
  Surface surface;
};

Drawing& Shared() {
  static Drawing d;
  return d;
}

QString OutPath(const char* name) {
  const QString dir = qEnvironmentVariableIsSet("PLANIMO_BENCH_DIR") ? qEnvironmentVariable("PLANIMO_BENCH_DIR")
                                                                     : QStringLiteral("/tmp/planimo-bench");
  return dir + QLatin1Char('/') + QLatin1String(name);
}

void BM_ExportBitmap(benchmark::State& state) {
  Drawing& d = Shared();
  const QString path = OutPath("export.bmp");
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const ErrorReport r = ExportBitmap(path, d.surface, d.doc);
    state.SetIterationTime(Since(t0));
    if (r.number != 0) state.SkipWithError(r.description.c_str());
  }
  state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}

// Reference: Qt writing the bare picture (no objects) as a BMP.
void BM_QtBmpSave(benchmark::State& state) {
  Drawing& d = Shared();
  const QString path = OutPath("plain.bmp");
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const bool ok = d.surface.image.save(path, "BMP");
    state.SetIterationTime(Since(t0));
    if (!ok) state.SkipWithError("save failed");
  }
}

// Range 0: 0 the whole drawing, 1 the picture alone, 2 the objects alone.
void BM_PrintPdf(benchmark::State& state) {
  Drawing& d = Shared();
  const char* labels[] = {"drawing", "picture only", "objects only"};
  state.SetLabel(labels[state.range(0)]);
  const Document empty;
  const Document& doc = state.range(0) == 1 ? empty : d.doc;
  const Surface surface = state.range(0) == 2 ? Surface{} : d.surface;
  PrinterChoice printers;
  QPrinter* printer = printers.printer(kPdfPrinterName);
  printer->setOutputFileName(OutPath("print.pdf"));
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const PrintOutcome out = PrintDrawing(*printer, kPrintFitPage, surface, doc);
    state.SetIterationTime(Since(t0));
    if (out.error.number != 0) state.SkipWithError(out.error.description.c_str());
  }
  state.counters["MB_per_page"] = double(QFileInfo(OutPath("print.pdf")).size()) / 1e6;
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

#define PLANIMO_PRINT_BENCH(fn)                                                                         \
  BENCHMARK(fn)->Iterations(1)->Repetitions(7)->UseManualTime()->Unit(benchmark::kMillisecond)        \
      ->ComputeStatistics("min", Min)->ComputeStatistics("max", Max)->ReportAggregatesOnly(true)

PLANIMO_PRINT_BENCH(BM_QtBmpSave);
PLANIMO_PRINT_BENCH(BM_ExportBitmap);
PLANIMO_PRINT_BENCH(BM_PrintPdf)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
}  // namespace planimo
