#!/usr/bin/env bash
# Builds everything and runs the whole test suite through CTest, then builds
# the core and its tests again with the address and undefined-behaviour
# sanitizers and runs those too.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/setup.sh"
JOBS="${JOBS:-$(nproc)}"

(cd "$ROOT/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS")

SAN="$ROOT/build-asan"
if [ ! -f "$SAN/build.ninja" ]; then
  cmake -S "$ROOT" -B "$SAN" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLANIMO_UI=OFF -DPLANIMO_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
fi
cmake --build "$SAN" -j "$JOBS"
(cd "$SAN" && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --output-on-failure -j "$JOBS")
