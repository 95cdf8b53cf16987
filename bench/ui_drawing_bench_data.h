#pragma once

// Test material for the PDF and TIFF drawing benchmarks, drawn at run time
// into the benchmark folder ($PLANIMO_BENCH_DIR, else /tmp/planimo-bench)
// the first time it is asked for.

#include <QSize>
#include <QString>

namespace planimo {

// An A1 landscape plot from CAD: 40,000 line segments and 4,000 texts.
QString BenchPlotPdf();

// An A0 sheet scanned at 600 dpi, 1-bit, CCITT G4, 512 rows a strip.
inline constexpr QSize kBenchScanSize(19866, 28087);
QString BenchG4Scan();

// Peak memory of a fresh process opening the drawing at `argv[2]` in a
// 1920 x 1080 view: prints the peak and the decoded picture, in megabytes.
int PeakDrawingChild(int argc, char** argv);

}  // namespace planimo
