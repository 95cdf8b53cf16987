// Formatting cost per pattern: a redraw after a zoom or unit change formats
// every kept value again, so each pattern should stay cheap.

#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "geometry/number_format.h"

namespace {

constexpr std::array<const char*, 7> kPatterns = {
    " #,###,##0 ", " ###,##0.0 ", " ##,##0.00 ", " #,##0.000 ",
    " ##0.0000 ",  " #0.00000 ",  " 0.000000 ",
};

constexpr std::size_t kValueCount = 1'000'000;

// Measured values across the range met in practice, the same on every run.
const std::vector<double>& Values() {
  static const std::vector<double> values = [] {
    std::mt19937_64 rng(20240601);
    std::uniform_real_distribution<double> mantissa(-1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-3, 6);
    std::vector<double> v(kValueCount);
    for (double& x : v) {
      double scale = 1.0;
      for (int e = exponent(rng); e > 0; --e) scale *= 10;
      for (int e = exponent(rng); e < 0; ++e) scale /= 10;
      x = mantissa(rng) * scale;
    }
    return v;
  }();
  return values;
}

void BM_FormatMillion(benchmark::State& state) {
  const std::string pattern = kPatterns[static_cast<std::size_t>(state.range(0))];
  const std::vector<double>& values = Values();
  for (auto _ : state) {
    std::size_t total = 0;
    for (double v : values) total += planimo::FormatNumber(v, pattern).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetLabel("\"" + pattern + "\"");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(values.size()));
}

BENCHMARK(BM_FormatMillion)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

}  // namespace
