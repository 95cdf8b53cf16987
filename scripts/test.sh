#!/usr/bin/env bash
# Builds everything and runs the whole test suite through CTest, then builds
# the core and its tests again with the address and undefined-behaviour
# sanitizers and runs those too, and the window's tests the same way (with
# the leak check off: Qt keeps some of its memory to the end on purpose).
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

SANUI="$ROOT/build-asan-ui"
if [ ! -f "$SANUI/build.ninja" ]; then
  cmake -S "$ROOT" -B "$SANUI" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLANIMO_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
fi
cmake --build "$SANUI" -j "$JOBS" --target test_ui
(cd "$SANUI" && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  QT_QPA_PLATFORM=offscreen ./tests/ui/test_ui)
