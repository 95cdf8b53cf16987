#!/usr/bin/env bash
# Builds and runs the benchmarks in an optimised build of their own
# (build-bench/): the core's, and the map view's image loading, zoom and
# memory against djpeg and a plain Qt read, PDF drawings against QtPdf's own
# renders and a G4 TIFF scan against a plain libtiff decode. The large test
# files are drawn once into $PLANIMO_BENCH_DIR (default /tmp/planimo-bench,
# about 80 MB).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/setup.sh"
JOBS="${JOBS:-$(nproc)}"
BUILD="$ROOT/build-bench"
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLANIMO_UI=ON -DPLANIMO_BENCH=ON
fi
cmake --build "$BUILD" -j "$JOBS" --target bench_core bench_view
"$BUILD/bench/bench_core" "$@"
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_view" "$@"
