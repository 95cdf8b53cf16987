// A pointer move while a line measurement runs over a drawing that already
// holds 10,000 kept distance objects; the move must stay well under 4 ms.

#include <benchmark/benchmark.h>

#include "measure/dispatcher.h"
#include "measure/tool_state.h"
#include "model/document.h"

namespace {

void FillDistances(planimo::Document& doc, planimo::MeasureSession& s, int count) {
  for (int i = 0; i < count; ++i) {
    const float y = 10.0f + static_cast<float>(i % 500);
    const float x = 10.0f + static_cast<float>(i / 500) * 40.0f;
    planimo::OnMapMouseDown(doc, s, {1, x, y, false, false, false});
    planimo::OnMapMouseUp(doc, s, {1, x, y, false, false, false});
    planimo::OnMapMouseMove(doc, s, {0, x + 30, y, false, false, false});
    planimo::OnMapMouseDown(doc, s, {1, x + 30, y, false, false, false});
    planimo::OnMapMouseUp(doc, s, {1, x + 30, y, false, false, false});
  }
}

void BM_MoveWhileMeasuring(benchmark::State& state) {
  planimo::Document doc;
  planimo::ResetProjectDefaults(doc);
  planimo::MeasureSession s;
  FillDistances(doc, s, 10000);
  const bool ctrl = state.range(0) != 0;
  planimo::OnMapMouseDown(doc, s, {1, 5, 5, false, false, false});
  planimo::OnMapMouseUp(doc, s, {1, 5, 5, false, false, false});
  float t = 0;
  for (auto _ : state) {
    t += 0.37f;
    if (t > 300) t = 0;
    benchmark::DoNotOptimize(
        planimo::OnMapMouseMove(doc, s, {0, 5 + t, 7 + t, ctrl, false, false}));
  }
  state.counters["kept"] = static_cast<double>(planimo::UBound(doc.objects.lblKyori));
}
BENCHMARK(BM_MoveWhileMeasuring)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
