// PDF and TIFF drawings: the first picture of an A1 vector plot and its
// sharp rendering at 400 % beside QtPdf's own renders, the window's answer
// to zooms, scrolls and pointer moves while renders run, and an A0 600 dpi
// G4 scan's memory and decode beside a plain libtiff decode of its strips.

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "app/main_window.h"
#include "app/message_sink.h"
#include "model/document.h"
#include "ui_bench_data.h"
#include "ui_drawing_bench_data.h"
#include "view/map_view.h"
#include "view/pdf_page.h"
#include "view/pdf_sharpener.h"

namespace planimo {
namespace {

constexpr QSize kViewport(1920, 1080);

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}
double MsSince(Clock::time_point t0) { return Since(t0) * 1000; }

// Best times of the references in this run.
struct References {
  double qtPdfPage = 0;        // load and render of the whole page at 96 dpi
  double qtPdfPageRender = 0;  // the render alone
  double qtPdfViewport = 0;    // a 1920 x 1080 part of the page at 400 %
  double libtiff = 0;          // every strip of the G4 scan decoded
};
References& Refs() {
  static References refs;
  return refs;
}

void ShowAtScreenSize(MapView& view) {
  view.resize(kViewport);
  view.resize(kViewport * 2 - view.viewportArea());
  view.show();
  QCoreApplication::processEvents();
}

void WaitReady(MapView& view, const ImageLoadResult& started) {
  if (!started.ok || !started.pending) return;
  QEventLoop loop;
  QObject::connect(&view, &MapView::imageReady, &loop, &QEventLoop::quit);
  loop.exec();
}

void WaitLevels(MapView& view) {
  while (view.picture() && !view.picture()->levelsComplete()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

// The view at screen size with `path` open and its levels built.
void ShowOpened(MapView& view, const QString& path) {
  ShowAtScreenSize(view);
  WaitReady(view, view.openImage(path));
  WaitLevels(view);
}

QSize PageAt96Dpi(const QPdfDocument& pdf) {
  const QSizeF points = pdf.pagePointSize(0);
  return QSize(int(std::lround(points.width() * 96 / 72)),
               int(std::lround(points.height() * 96 / 72)));
}

// The viewport's part of the page at `zoom`, in the middle of the sheet.
QRect MiddleClip(QSize surface) {
  return QRect(QPoint(surface.width() / 2 - kViewport.width() / 2,
                      surface.height() / 2 - kViewport.height() / 2),
               kViewport);
}

void BM_QtPdfWholePage(benchmark::State& state) {
  const QString path = BenchPlotPdf();
  double best = 1e9, bestRender = 1e9;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    QPdfDocument pdf;
    if (pdf.load(path) != QPdfDocument::Error::None) state.SkipWithError("load failed");
    const auto t1 = Clock::now();
    const QImage page = pdf.render(0, PageAt96Dpi(pdf));
    const double s = Since(t0);
    if (page.isNull()) state.SkipWithError("render failed");
    best = std::min(best, s);
    bestRender = std::min(bestRender, Since(t1));
    state.SetIterationTime(s);
  }
  Refs().qtPdfPage = best;
  Refs().qtPdfPageRender = bestRender;
  state.counters["render_only_s"] = bestRender;
  state.SetLabel("A1 plot, load and render at 96 dpi");
}

// From the open command to the first picture of the page in the viewport.
void BM_PdfFirstPicture(benchmark::State& state) {
  const QString path = BenchPlotPdf();
  double best = 1e9, bestFull = 1e9;
  for (auto _ : state) {
    Document doc;
    MapView view(doc);
    ShowAtScreenSize(view);
    double first = 0;
    Clock::time_point t0;
    const auto shown = [&] {
      if (first > 0) return;
      view.viewport()->repaint();
      first = Since(t0);
    };
    QObject::connect(&view, &MapView::firstPictureShown, &view, shown);
    QObject::connect(&view, &MapView::sharpPictureShown, &view, shown);
    t0 = Clock::now();
    const ImageLoadResult r = view.openImage(path);
    if (!r.ok) state.SkipWithError(qPrintable(r.description));
    WaitReady(view, r);
    const double full = Since(t0);
    if (first == 0) shown();
    WaitLevels(view);
    if (qEnvironmentVariableIsSet("PLANIMO_BENCH_TRACE"))
      std::fprintf(stderr, "first %.3f full %.3f\n", first, full);
    best = std::min(best, first);
    bestFull = std::min(bestFull, full);
    state.SetIterationTime(first);
  }
  const References& ref = Refs();
  state.counters["best_s"] = best;
  state.counters["whole_page_s"] = bestFull;
  if (ref.qtPdfPage > 0) state.counters["x_qtpdf_page"] = best / ref.qtPdfPage;
  if (ref.qtPdfPageRender > 0) state.counters["x_qtpdf_render"] = best / ref.qtPdfPageRender;
  state.SetLabel("A1 plot, 1920x1080 at 100%");
}

void BM_QtPdfViewport400(benchmark::State& state) {
  QPdfDocument pdf;
  if (pdf.load(BenchPlotPdf()) != QPdfDocument::Error::None) state.SkipWithError("load failed");
  const QSize surface = PageAt96Dpi(pdf) * 4;
  const QRect clip = MiddleClip(surface);
  double best = 1e9;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    QPdfDocumentRenderOptions options;
    options.setScaledSize(surface);
    options.setScaledClipRect(clip);
    const QImage part = pdf.render(0, clip.size(), options);
    const double s = Since(t0);
    if (part.isNull()) state.SkipWithError("render failed");
    best = std::min(best, s);
    state.SetIterationTime(s);
  }
  Refs().qtPdfViewport = best;
  state.SetLabel("1920x1080 of the A1 plot at 400%");
}

// The view's sharpener asked for the same part: from the request to the
// rendering handed back (the document already open, as it stays for a view).
void BM_PdfSharp400(benchmark::State& state) {
  const QString path = BenchPlotPdf();
  QPdfDocument pdf;
  pdf.load(path);
  const QSize surface = PageAt96Dpi(pdf) * 4;
  std::mutex mutex;
  std::condition_variable arrived;
  unsigned delivered = 0;
  PdfSharpener sharpener([&](SharpPicture p) {
    const std::lock_guard lock(mutex);
    delivered = p.image.isNull() ? ~0u : p.ticket;
    arrived.notify_one();
  });
  unsigned ticket = 0;
  const auto renderOnce = [&] {
    ++ticket;
    sharpener.request(SharpRequest{ticket, 1, path, 1, surface, MiddleClip(surface)});
    std::unique_lock lock(mutex);
    arrived.wait(lock, [&] { return delivered == ticket || delivered == ~0u; });
    return delivered == ticket;
  };
  if (!renderOnce()) state.SkipWithError("render failed");  // opens the document
  double best = 1e9;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    if (!renderOnce()) state.SkipWithError("render failed");
    const double s = Since(t0);
    best = std::min(best, s);
    state.SetIterationTime(s);
  }
  state.counters["best_s"] = best;
  if (Refs().qtPdfViewport > 0) state.counters["x_qtpdf_viewport"] = best / Refs().qtPdfViewport;
  state.SetLabel("1920x1080 of the A1 plot at 400%");
}

// A zoom step to the view's largest factor (200 %) and back to 190 %: from
// the command to the sharp rendering painted.
void BM_PdfViewZoomSharp(benchmark::State& state) {
  Document doc;
  MapView view(doc);
  ShowOpened(view, BenchPlotPdf());
  bool sharp = false;
  QObject::connect(&view, &MapView::sharpPictureShown, &view, [&] { sharp = true; });
  bool high = false;
  for (auto _ : state) {
    high = !high;
    doc.view.sngZoom = high ? 2.0f : 1.9f;
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    QCoreApplication::processEvents();
    sharp = false;
    const auto t0 = Clock::now();
    view.applyZoom();
    while (!sharp) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    view.viewport()->repaint();
    state.SetIterationTime(Since(t0));
  }
  state.SetLabel("1920x1080, 190% <-> 200%");
}

// One zoom step on the PDF page, split: the view's zoom (the rescale and
// the request for a sharp rendering) and the repaint of the 1920 x 1080
// viewport from the 96 dpi picture that follows it.
void BM_PdfZoomRepaint(benchmark::State& state) {
  Document doc;
  MapView view(doc);
  ShowOpened(view, BenchPlotPdf());
  bool high = false;
  double zoom = 0, paint = 0;
  for (auto _ : state) {
    high = !high;
    doc.view.sngZoom = high ? 2.0f : 1.9f;
    const auto t0 = Clock::now();
    view.applyZoom();
    const auto t1 = Clock::now();
    view.viewport()->repaint();
    zoom += std::chrono::duration<double, std::milli>(t1 - t0).count();
    paint += MsSince(t1);
    state.SetIterationTime(Since(t0));
    QCoreApplication::processEvents();
  }
  state.counters["zoom_ms"] = zoom / double(state.iterations());
  state.counters["paint_ms"] = paint / double(state.iterations());
  state.SetLabel("1920x1080, 190% <-> 200%, before the sharp rendering");
}

struct QuietSink : MessageSink {
  MessageButton information(const QString&, const QString&) override { return MessageButton::Ok; }
  MessageButton error(const QString&, const QString&) override { return MessageButton::Ok; }
  MessageButton question(const QString&, const QString&) override { return MessageButton::No; }
};

// The window with the A1 plot, a line measurement running: zoom steps,
// scrolls and pointer moves in turn, each answered (its repaint included)
// while the renderings they ask for run in the worker. Every pass of the
// event loop in between, which paints the renderings as they arrive, is
// timed too.
void BM_PdfEventsWhileRendering(benchmark::State& state) {
  QTemporaryDir folder;
  MainWindow w(std::make_shared<QuietSink>(), folder.path());
  w.resize(kViewport + QSize(40, 140));
  w.show();
  QCoreApplication::processEvents();
  MapView& view = *w.mapView();
  w.openImage(BenchPlotPdf());
  while (!view.hasImage() || view.isLoading())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  WaitLevels(view);
  QWidget* vp = view.viewport();
  const auto send = [vp](QEvent::Type type, QPoint p, Qt::MouseButton button,
                         Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(p), QPointF(vp->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(vp, &e);
  };
  const QPoint start(vp->width() / 2, vp->height() / 2);
  send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
  double longest[4] = {0, 0, 0, 0};  // zoom, scroll, pointer move, event loop pass
  int step = 0;
  for (auto _ : state) {
    const int kind = step % 3;
    const auto t0 = Clock::now();
    if (kind == 0) {
      w.document().view.sngZoom = (step / 3) % 2 ? 2.0f : 1.5f + 0.1f * float((step / 6) % 4);
      w.applyZoom();
    } else if (kind == 1) {
      QScrollBar* bar = (step / 3) % 2 ? view.horizontalScrollBar() : view.verticalScrollBar();
      bar->setValue(bar->value() + ((step / 6) % 2 ? -240 : 240));
    } else {
      send(QEvent::MouseMove, start + QPoint(step % 400, step % 300), Qt::NoButton, Qt::NoButton);
    }
    QCoreApplication::processEvents();  // the repaint it asked for
    const double ms = MsSince(t0);
    longest[kind] = std::max(longest[kind], ms);
    state.SetIterationTime(ms / 1000);
    ++step;
    // A frame's time between inputs, the renderings arriving meanwhile.
    const auto frame = Clock::now();
    while (MsSince(frame) < 16) {
      const auto t1 = Clock::now();
      QCoreApplication::processEvents();
      longest[3] = std::max(longest[3], MsSince(t1));
      QThread::msleep(1);
    }
  }
  state.counters["zoom_max_ms"] = longest[0];
  state.counters["scroll_max_ms"] = longest[1];
  state.counters["move_max_ms"] = longest[2];
  state.counters["loop_pass_max_ms"] = longest[3];
  state.SetLabel("A1 plot, 1920x1080, measuring");
}

// Every strip of the scan decoded by libtiff into its 1-bit rows, nothing
// else: the least any reader of the file does.
void BM_LibtiffStrips(benchmark::State& state) {
  const QString path = BenchG4Scan();
  double best = 1e9;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (tif == nullptr) {
      state.SkipWithError("open failed");
      break;
    }
    std::vector<std::uint8_t> strip(std::size_t(TIFFStripSize(tif)));
    const std::uint32_t strips = TIFFNumberOfStrips(tif);
    for (std::uint32_t i = 0; i < strips; ++i) {
      if (TIFFReadEncodedStrip(tif, i, strip.data(), tmsize_t(strip.size())) < 0)
        state.SkipWithError("decode failed");
    }
    TIFFClose(tif);
    const double s = Since(t0);
    best = std::min(best, s);
    state.SetIterationTime(s);
  }
  Refs().libtiff = best;
  state.SetLabel("A0 600 dpi G4, TIFFReadEncodedStrip loop");
}

// From the open command to the scan at full resolution in the view.
void BM_TiffOpenFull(benchmark::State& state) {
  const QString path = BenchG4Scan();
  double best = 1e9, held = 0;
  for (auto _ : state) {
    Document doc;
    MapView view(doc);
    ShowAtScreenSize(view);
    const auto t0 = Clock::now();
    const ImageLoadResult r = view.openImage(path);
    held = std::max(held, Since(t0));  // the window waits only this long
    if (!r.ok) state.SkipWithError(qPrintable(r.description));
    WaitReady(view, r);
    const double s = Since(t0);
    WaitLevels(view);
    best = std::min(best, s);
    state.SetIterationTime(s);
  }
  state.counters["best_s"] = best;
  state.counters["open_held_max_ms"] = held * 1000;
  if (Refs().libtiff > 0) state.counters["x_libtiff"] = best / Refs().libtiff;
  state.SetLabel("A0 600 dpi G4 scan, full resolution ready");
}

// Zoom steps on the 1-bit scan, repaint of the 1920 x 1080 viewport
// included, between state.range(0) % and 5 % below it, in the middle of the
// sheet: at 100 % and above the 1-bit picture is painted itself, below it
// the 8-bit level at or above the zoom.
void BM_TiffZoomStep(benchmark::State& state) {
  Document doc;
  MapView view(doc);
  ShowOpened(view, BenchG4Scan());
  const float top = float(state.range(0)) / 100;
  bool high = false;
  double longest = 0;
  for (auto _ : state) {
    high = !high;
    doc.view.sngZoom = high ? top : top * 0.95f;
    const auto t0 = Clock::now();
    view.applyZoom();
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    view.viewport()->repaint();
    state.SetIterationTime(Since(t0));
    longest = std::max(longest, MsSince(t0));
    QCoreApplication::processEvents();
  }
  state.counters["longest_ms"] = longest;
  state.SetLabel("A0 600 dpi G4 scan, 1920x1080");
}

// Peak memory of a fresh process that opens the scan in a 1920 x 1080 view,
// its reduced levels built.
void BM_TiffPeakMemory(benchmark::State& state) {
  const QString path = BenchG4Scan();
  double peak = 0, decoded = 0;
  for (auto _ : state) {
    const std::optional<PeakFigures> f = RunPeakChild(QStringLiteral("peak-drawing"), path, 300000);
    if (!f) {
      state.SkipWithError("peak child failed");
      break;
    }
    peak = f->peakMb;
    decoded = f->decodedMb;
  }
  // The goal is set by the scan's size in 8-bit grey, whatever the view holds.
  const double eightBit = double((kBenchScanSize.width() + 3) / 4 * 4) * kBenchScanSize.height() / (1024 * 1024);
  state.counters["peak_MB"] = peak;
  state.counters["held_MB"] = decoded;
  state.counters["eight_bit_MB"] = eightBit;
  state.counters["budget_MB"] = 1.1 * eightBit + 150;
  state.SetLabel("A0 600 dpi G4 scan");
}

BENCHMARK(BM_QtPdfWholePage)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfFirstPicture)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtPdfViewport400)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfSharp400)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfViewZoomSharp)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfZoomRepaint)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfEventsWhileRendering)
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibtiffStrips)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffOpenFull)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffZoomStep)
    ->Arg(200)
    ->Arg(150)
    ->Arg(100)
    ->Arg(50)
    ->Arg(25)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace planimo
