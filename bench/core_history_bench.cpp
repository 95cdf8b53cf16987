// The cost of one undo step on a drawing that holds 10,000 kept distances:
// the checkpoint after keeping one more distance (time and bytes the step
// adds), after deleting the first one (every record moves down a place, so
// every block is new; the 100 MB limit then holds some 18 such steps), and
// an undo and redo.

#include <benchmark/benchmark.h>

#include "measure/dispatcher.h"
#include "measure/tool_state.h"
#include "model/document.h"
#include "model/history.h"

namespace {

void KeepDistance(planimo::Document& doc, planimo::MeasureSession& s, int i) {
  const float y = 10.0f + static_cast<float>(i % 500);
  const float x = 10.0f + static_cast<float>((i / 500) % 40) * 40.0f;
  planimo::OnMapMouseDown(doc, s, {1, x, y, false, false, false});
  planimo::OnMapMouseUp(doc, s, {1, x, y, false, false, false});
  planimo::OnMapMouseMove(doc, s, {0, x + 30, y, false, false, false});
  planimo::OnMapMouseDown(doc, s, {1, x + 30, y, false, false, false});
  planimo::OnMapMouseUp(doc, s, {1, x + 30, y, false, false, false});
}

struct Drawing {
  Drawing() {
    planimo::ResetProjectDefaults(doc);
    for (int i = 0; i < 10000; ++i) KeepDistance(doc, s, i);
    planimo::ResetHistory(h, doc);
  }
  planimo::Document doc;
  planimo::MeasureSession s;
  planimo::History h;
};

void BM_CheckpointAfterKeepingADistance(benchmark::State& state) {
  Drawing d;
  int i = 10000;
  for (auto _ : state) {
    state.PauseTiming();
    KeepDistance(d.doc, d.s, i++);
    state.ResumeTiming();
    benchmark::DoNotOptimize(planimo::Checkpoint(d.h, d.doc, "距離の測定"));
  }
  state.counters["step_KB"] = static_cast<double>(d.h.undo.back().bytes) / 1024;
  state.counters["steps"] = static_cast<double>(d.h.undo.size());
}
BENCHMARK(BM_CheckpointAfterKeepingADistance)->Unit(benchmark::kMillisecond);

void BM_CheckpointAfterDeletingTheFirstDistance(benchmark::State& state) {
  Drawing d;
  for (auto _ : state) {
    state.PauseTiming();
    planimo::RemoveDistanceObject(d.doc.objects, 0);
    KeepDistance(d.doc, d.s, 0);
    state.ResumeTiming();
    benchmark::DoNotOptimize(planimo::Checkpoint(d.h, d.doc, "消去"));
  }
  state.counters["step_KB"] = static_cast<double>(d.h.undo.back().bytes) / 1024;
  state.counters["steps"] = static_cast<double>(d.h.undo.size());
}
BENCHMARK(BM_CheckpointAfterDeletingTheFirstDistance)->Unit(benchmark::kMillisecond);

void BM_UndoAndRedo(benchmark::State& state) {
  Drawing d;
  KeepDistance(d.doc, d.s, 10000);
  planimo::Checkpoint(d.h, d.doc, "距離の測定");
  for (auto _ : state) {
    planimo::Undo(d.h, d.doc);
    planimo::Redo(d.h, d.doc);
  }
}
BENCHMARK(BM_UndoAndRedo)->Unit(benchmark::kMillisecond);

}  // namespace
