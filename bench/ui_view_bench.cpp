// Opening a 12000 x 9000 scan, zooming with 10,000 kept distances, and the
// memory it takes, measured beside djpeg and a plain QImageReader read of the
// same file in the same run.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QImageReader>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/document.h"
#include "ui_bench_data.h"
#include "ui_drawing_bench_data.h"
#include "view/image_loader.h"
#include "view/map_view.h"

namespace planimo {
namespace {

constexpr QSize kViewport(1920, 1080);
constexpr int kDistances = 10000;

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// Best times of the references in this run, per file (0 colour, 1 grey).
struct Reference {
  double djpeg = 0;
  double plain = 0;
};
Reference& RefFor(bool grey) {
  static Reference refs[2];
  return refs[grey ? 1 : 0];
}

const char* Name(bool grey) { return grey ? "grey" : "colour"; }

// A view with exactly a 1920 x 1080 viewport, shown offscreen.
void ShowAtScreenSize(MapView& view) {
  view.resize(kViewport);
  view.resize(kViewport * 2 - view.viewportArea());
  view.show();
  QCoreApplication::processEvents();
}

void WaitReady(MapView& view, const ImageLoadResult& started) {
  if (!started.ok) return;
  QEventLoop loop;
  QObject::connect(&view, &MapView::imageReady, &loop, &QEventLoop::quit);
  loop.exec();
}

// The reduced levels are built behind the decoder; zooms and the memory
// figure are taken with them in place.
void WaitLevels(MapView& view) {
  while (view.picture() && !view.picture()->levelsComplete()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

void BM_Djpeg(benchmark::State& state) {
  const bool grey = state.range(0) != 0;
  state.SetLabel(Name(grey));
  const std::string cmd = "djpeg -outfile /dev/null '" + BenchImage(grey).toStdString() + "'";
  double best = 1e9;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("djpeg failed (install libjpeg-turbo-progs)");
    const double s = Since(t0);
    best = std::min(best, s);
    state.SetIterationTime(s);
  }
  RefFor(grey).djpeg = best;
}

void BM_PlainQtRead(benchmark::State& state) {
  const bool grey = state.range(0) != 0;
  state.SetLabel(Name(grey));
  const QString path = BenchImage(grey);
  double best = 1e9;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    QImageReader reader(path);
    QImage image = reader.read();
    const double s = Since(t0);
    if (image.isNull()) state.SkipWithError("read failed");
    best = std::min(best, s);
    state.SetIterationTime(s);
  }
  RefFor(grey).plain = best;
}

// Time to the first picture on screen (range 1 = 0) or to the full image
// (range 1 = 1), from the open command.
void BM_OpenImage(benchmark::State& state) {
  const bool grey = state.range(0) != 0;
  const bool full = state.range(1) != 0;
  state.SetLabel(std::string(Name(grey)) + (full ? " full resolution ready" : " first picture"));
  const QString path = BenchImage(grey);
  double best = 1e9;
  for (auto _ : state) {
    Document doc;
    MapView view(doc);
    ShowAtScreenSize(view);
    double first = 0;
    Clock::time_point t0;
    QObject::connect(&view, &MapView::firstPictureShown, &view, [&] { first = Since(t0); });
    t0 = Clock::now();
    const ImageLoadResult r = view.openImage(path);
    WaitReady(view, r);
    const double ready = Since(t0);
    view.viewport()->repaint();  // a load that ends before a paint shows its picture now
    if (first == 0) first = Since(t0);
    WaitLevels(view);
    if (!r.ok) state.SkipWithError(qPrintable(r.description));
    const double s = full ? ready : first;
    best = std::min(best, s);
    state.SetIterationTime(s);
  }
  const Reference& ref = RefFor(grey);
  state.counters["best_s"] = best;
  if (ref.plain > 0) state.counters["x_plain_read"] = best / ref.plain;
  if (ref.djpeg > 0) state.counters["x_djpeg"] = best / ref.djpeg;
}

// One toolbar zoom step (factor and factor - 0.1, alternately): the rescale of
// 10,000 distances and a repaint of the 1920 x 1080 viewport.
void BM_ZoomStep(benchmark::State& state) {
  const float base = static_cast<float>(state.range(0)) / 100.0f;
  Document doc;
  MapView view(doc);
  ShowAtScreenSize(view);
  WaitReady(view, view.openImage(BenchImage(false)));
  WaitLevels(view);
  KeepDistances(doc, kDistances, 12000, 9000);
  bool low = false;
  double rescale = 0, paint = 0;
  for (auto _ : state) {
    low = !low;
    doc.view.sngZoom = low ? base - 0.1f : base;
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    const auto t0 = Clock::now();
    if (!view.applyZoom().ok()) state.SkipWithError("zoom failed");
    const auto t1 = Clock::now();
    view.viewport()->repaint();
    rescale += std::chrono::duration<double, std::milli>(t1 - t0).count();
    paint += std::chrono::duration<double, std::milli>(Clock::now() - t1).count();
    state.SetIterationTime(Since(t0));
  }
  state.counters["rescale_ms"] = rescale / double(state.iterations());
  state.counters["paint_ms"] = paint / double(state.iterations());
  state.SetLabel("10000 distances, 1920x1080, " + std::to_string(state.range(0)) + "%");
}

// Peak memory of a fresh process that opens the scan in a 1920 x 1080 view
// holding 10,000 distances.
void BM_PeakMemory(benchmark::State& state) {
  const bool grey = state.range(0) != 0;
  state.SetLabel(Name(grey));
  double peak = 0, decoded = 0;
  for (auto _ : state) {
    const std::optional<PeakFigures> f = RunPeakChild(QStringLiteral("peak"), BenchImage(grey), 120000);
    if (!f) {
      state.SkipWithError("peak child failed");
      break;
    }
    peak = f->peakMb;
    decoded = f->decodedMb;
  }
  state.counters["peak_MB"] = peak;
  state.counters["decoded_MB"] = decoded;
  state.counters["budget_MB"] = 1.25 * decoded + 150;
}

int PeakChild(int argc, char** argv) {
  QApplication app(argc, argv);
  Document doc;
  MapView view(doc);
  ShowAtScreenSize(view);
  KeepDistances(doc, kDistances, 12000, 9000);
  const ImageLoadResult r = view.openImage(QString::fromLocal8Bit(argv[2]));
  WaitReady(view, r);
  WaitLevels(view);
  view.viewport()->repaint();
  if (!r.ok) return 1;
  std::printf("%.1f %.1f\n", PeakResidentMb(), double(view.image().sizeInBytes()) / (1024 * 1024));
  return 0;
}

BENCHMARK(BM_Djpeg)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQtRead)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenImage)
    ->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1})
    ->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStep)->Arg(125)->Arg(100)->Arg(75)->Arg(50)->Arg(40)->Arg(30)->Arg(25)->Arg(20)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace planimo

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 3 && std::string(argv[1]) == "--peak") return planimo::PeakChild(argc, argv);
  if (argc == 3 && std::string(argv[1]) == "--peak-drawing") return planimo::PeakDrawingChild(argc, argv);
  QApplication app(argc, argv);
  // The plain read gets the same room as the view's reader.
  QImageReader::setAllocationLimit(planimo::ImageAllocationLimitMb());
  planimo::BenchImage(false);  // drawn once, before anything is measured
  planimo::BenchImage(true);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
