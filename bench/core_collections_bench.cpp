// Cost of keeping and deleting many distance objects, of a zoom rescale and
// of finding the label under the pointer.

#include <benchmark/benchmark.h>

#include <memory>

#include "model/collections.h"
#include "model/document.h"
#include "model/hit_test.h"
#include "model/rescale.h"

namespace planimo {
namespace {

// Two extension lines per distance object and 16-bit indices: at most this
// many distance objects fit in lineHojoSave (indices 0..32767, spare included).
constexpr int kMaxDistanceObjects = kMaxIndex / 2;

void KeepDistance(Collections& o, float x) {
  const auto k = static_cast<std::size_t>(UBound(o.lblKyori));
  o.lblKyori[k].Visible = true;
  o.lblKyori[k].Caption = " 12.50 m ";
  o.lblKyori[k].Left = x;
  AppendSpare(o.lblKyori);
  o.lineDsSave[k].Visible = true;
  o.lineDsSave[k].X1 = x;
  AppendSpare(o.lineDsSave);
  for (int side = 0; side < 2; ++side) {
    const std::size_t h = o.lineHojoSave.size() - 1;
    o.lineHojoSave[h].Visible = true;
    o.lineHojoSave[h].X1 = x;
    AppendSpare(o.lineHojoSave);
    const std::size_t m = o.shpSnpo.size() - 1;
    o.shpSnpo[m].Visible = true;
    o.shpSnpo[m].Left = x;
    AppendSpare(o.shpSnpo);
  }
}

Collections WithDistances(int n) {
  Collections o;
  for (int i = 0; i < n; ++i) KeepDistance(o, static_cast<float>(i));
  return o;
}

void BM_KeepDistances(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Collections o = WithDistances(n);
    benchmark::DoNotOptimize(o.lblKyori.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_KeepDistances)->Arg(1000)->Arg(kMaxDistanceObjects)->Unit(benchmark::kMillisecond);

void BM_RemoveDistancesFromFront(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Collections o = WithDistances(n);
    state.ResumeTiming();
    for (int i = 0; i < n; ++i) RemoveDistanceObject(o, 0);
    benchmark::DoNotOptimize(o.lblKyori.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_RemoveDistancesFromFront)->Arg(1000)->Arg(kMaxDistanceObjects)->Unit(benchmark::kMillisecond);

void BM_RemoveDistancesFromBack(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Collections o = WithDistances(n);
    state.ResumeTiming();
    for (int k = n - 1; k >= 0; --k) RemoveDistanceObject(o, k);
    benchmark::DoNotOptimize(o.lblKyori.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_RemoveDistancesFromBack)->Arg(1000)->Arg(kMaxDistanceObjects)->Unit(benchmark::kMillisecond);

void BM_RescaleDistances(benchmark::State& state) {
  Document doc;
  doc.objects = WithDistances(static_cast<int>(state.range(0)));
  bool in = true;
  for (auto _ : state) {
    // Alternate between two factors so the values stay bounded.
    doc.view.sngZoom = in ? 1.25f : 1.0f;
    in = !in;
    benchmark::DoNotOptimize(subDisp_Object(doc));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RescaleDistances)->Arg(10000)->Unit(benchmark::kMicrosecond);

// 100,000 labels spread over the five label collections; the pointer misses
// them all, so every label is looked at.
void BM_HitLabelMiss(benchmark::State& state) {
  Collections o;
  const int per = static_cast<int>(state.range(0)) / 5;
  for (std::vector<TextRecord>* c : {&o.lblKyori, &o.lblMensekiS, &o.lblKeiroS, &o.lblMoji, &o.lblKeiIdoS}) {
    c->resize(static_cast<std::size_t>(per));
    for (int i = 0; i < per; ++i) {
      TextRecord& l = (*c)[static_cast<std::size_t>(i)];
      l.Visible = true;
      l.Left = static_cast<float>(i % 300) * 20;
      l.Top = static_cast<float>(i / 300) * 10;
      l.Width = 15;
      l.Height = 5;
    }
  }
  for (auto _ : state) benchmark::DoNotOptimize(HitLabel(o, -5, -5));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HitLabelMiss)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace planimo
