#pragma once

// Test material for the view benchmarks: large line-drawing scans and a
// document full of kept distances.

#include <QString>
#include <optional>

namespace planimo {

struct Document;

// Path of a 12000 x 9000 line-drawing JPEG (colour or 8-bit grey), drawn
// once into the benchmark folder ($PLANIMO_BENCH_DIR, else /tmp/planimo-bench).
QString BenchImage(bool grey);

// Fills `doc` with `count` kept distances spread over a drawing of
// `widthPx` x `heightPx` pixels at 100 %, each with its dimension line, two
// extension lines, two end markers and a sized value label.
void KeepDistances(Document& doc, int count, int widthPx, int heightPx);

// Peak resident memory of this process (VmHWM), in megabytes.
double PeakResidentMb();

// Runs this benchmark program again as `--<mode> <path>`, a fresh process
// that opens the file and prints its peak and decoded megabytes. Empty when
// the child failed or said nothing.
struct PeakFigures {
  double peakMb = 0, decodedMb = 0;
};
std::optional<PeakFigures> RunPeakChild(const QString& mode, const QString& path, int timeoutMs);

}  // namespace planimo
