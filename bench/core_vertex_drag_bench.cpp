// A pointer move while a vertex of a kept measurement is dragged, over a
// drawing of 10,000 kept distances and 1,000 areas; the move must stay
// within 4 ms. Arg 0 drags a distance's end, 1 an area's corner; the
// second arg holds Ctrl (the snap searches every extension line).

#include <benchmark/benchmark.h>

#include "measure/dispatcher.h"
#include "measure/tool_state.h"
#include "model/document.h"

namespace {

using planimo::MouseEvent;

void Click(planimo::Document& doc, planimo::MeasureSession& s, float x, float y) {
  planimo::OnMapMouseDown(doc, s, MouseEvent{1, x, y, false, false, false});
  planimo::OnMapMouseUp(doc, s, MouseEvent{1, x, y, false, false, false});
}

void Fill(planimo::Document& doc, planimo::MeasureSession& s) {
  for (int i = 0; i < 10000; ++i) {
    const float y = 10.0f + static_cast<float>(i % 500);
    const float x = 10.0f + static_cast<float>(i / 500) * 40.0f;
    Click(doc, s, x, y);
    planimo::OnMapMouseMove(doc, s, MouseEvent{0, x + 30, y, false, false, false});
    Click(doc, s, x + 30, y);
  }
  planimo::SelectMode(doc, s, planimo::MeasureMode::Path, nullptr);
  planimo::TogglePutSen(s);  // areas alone, the distance count stays
  for (int i = 0; i < 1000; ++i) {
    const float x = 1000.0f + static_cast<float>(i % 40) * 25.0f;
    const float y = 10.0f + static_cast<float>(i / 40) * 25.0f;
    const float corners[4][2] = {{x, y}, {x + 20, y}, {x + 20, y + 20}, {x, y + 20}};
    Click(doc, s, x, y);
    for (int c = 1; c < 4; ++c) {
      planimo::OnMapMouseMove(doc, s,
                              MouseEvent{0, corners[c][0], corners[c][1], false, false, false});
      Click(doc, s, corners[c][0], corners[c][1]);
    }
    planimo::CommandCloseArea(doc, s);
  }
  planimo::TogglePutSen(s);
  planimo::SelectMode(doc, s, planimo::MeasureMode::Select, nullptr);
}

void BM_VertexDragMove(benchmark::State& state) {
  planimo::Document doc;
  planimo::ResetProjectDefaults(doc);
  planimo::MeasureSession s;
  Fill(doc, s);
  // The last distance's end, or the far corner of the 500th area.
  const bool area = state.range(0) != 0;
  const bool ctrl = state.range(1) != 0;
  const float gx = area ? 1000.0f + 19 * 25.0f + 20 : 10.0f + 19 * 40.0f + 30;
  const float gy = area ? 10.0f + 12 * 25.0f + 20 : 10.0f + 499;
  planimo::OnMapMouseDown(doc, s, MouseEvent{1, gx, gy, false, false, false});
  if (!s.vertexGrab.held()) state.SkipWithError("no vertex grabbed");
  float t = 0;
  for (auto _ : state) {
    t += 0.37f;
    if (t > 15) t = 0;
    benchmark::DoNotOptimize(
        planimo::OnMapMouseMove(doc, s, MouseEvent{1, gx + t, gy - t, ctrl, false, false}));
  }
  state.counters["distances"] = static_cast<double>(planimo::UBound(doc.objects.lblKyori));
  state.counters["areas"] = static_cast<double>(planimo::UBound(doc.objects.lblMensekiS));
}
BENCHMARK(BM_VertexDragMove)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
