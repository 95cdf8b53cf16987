// "測定一覧" over 10,000 kept distances and 1,000 areas: after a change the
// dock takes its rows and totals afresh and repaints the list and totals.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <QTreeWidget>
#include <chrono>

#include "app/main_window.h"
#include "app/takeoff_dock.h"
#include "takeoff/takeoff_edit.h"
#include "ui_bench_data.h"

namespace planimo {
namespace {

void BM_TakeoffDockAfterAChange(benchmark::State& state) {
  MainWindow w;
  w.resize(1920, 1080);
  w.show();
  Document& doc = w.document();
  KeepDistances(doc, 10000, 12000, 9000);
  for (int a = 0; a < 1000; ++a) {
    TextRecord& l = doc.objects.lblMensekiS.back();
    l.Visible = true;
    l.Caption = " 125.50 m2 ";
    l.Tag = "022:125.5_" + std::to_string(100000 + a);
    AppendSpare(doc.objects.lblMensekiS);
  }
  for (const char* name : {"外壁", "床", "舗装"}) AddItem(doc, name, Rgb(0, 0, 200));
  w.command(QStringLiteral("mnuDispTakeoff"))->trigger();
  QCoreApplication::processEvents();
  TakeoffDock* dock = w.takeoffDock();
  int i = 0;
  for (auto _ : state) {
    AssignItem(doc, {SelectedObject{"lblkyori", static_cast<std::int16_t>(i++ % 10000)}}, i % 4);
    const auto t0 = std::chrono::steady_clock::now();
    dock->follow();
    dock->table()->viewport()->repaint();
    dock->totals()->viewport()->repaint();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
}
BENCHMARK(BM_TakeoffDockAfterAChange)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace planimo
