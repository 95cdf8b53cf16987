#!/usr/bin/env bash
# Builds the fuzz harnesses of the INI layer and the object-file reader with
# clang's libFuzzer (plus address and undefined-behaviour sanitizers) and runs
# each for a bounded time, growing the saved inputs in tests/fuzz/corpus.
#   scripts/fuzz.sh [SECONDS_PER_HARNESS]   (default 60)
# A failing input is left as crash-* in build-fuzz/ and replayed by
#   build/tests/fuzz_replay ini|objects build-fuzz/crash-...
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SECONDS_EACH="${1:-60}"
OUT="$ROOT/build-fuzz"

if ! command -v clang++-14 >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed"; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev
fi

mkdir -p "$OUT"
FLAGS=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
  -I"$ROOT/src/core" -I"$ROOT/tests/fuzz")
CORE=$(find "$ROOT/src/core" -name '*.cpp' | sort)
for kind in ini objects; do
  echo "Building fuzz_$kind"
  # shellcheck disable=SC2086
  clang++-14 "${FLAGS[@]}" $CORE "$ROOT/tests/fuzz/fuzz_entries.cpp" "$ROOT/tests/fuzz/libfuzzer_$kind.cpp" \
    -o "$OUT/fuzz_$kind"
done

cd "$OUT"
for kind in ini objects; do
  mkdir -p "corpus_$kind"
  echo "Running fuzz_$kind for ${SECONDS_EACH}s"
  # New inputs go to a scratch corpus; the saved seeds are read, not changed.
  "./fuzz_$kind" -max_total_time="$SECONDS_EACH" -max_len=65536 -rss_limit_mb=1024 -timeout=10 \
    "corpus_$kind" "$ROOT/tests/fuzz/corpus/$kind"
done
