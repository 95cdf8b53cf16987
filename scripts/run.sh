#!/usr/bin/env bash
# Builds Planimo and starts it on the bundled sample drawing. Without a display
# it runs under xvfb-run and leaves a screenshot of the window in out/planimo.png.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/setup.sh"

SAMPLE="$ROOT/samples/site_plan.jpg"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$ROOT/build/planimo" "$SAMPLE"
fi
mkdir -p "$ROOT/out"
PLANIMO_SCREENSHOT="$ROOT/out/planimo.png" xvfb-run -a -s "-screen 0 1600x1000x24" \
  "$ROOT/build/planimo" "$SAMPLE"
echo "No display: the window was drawn under Xvfb and saved to out/planimo.png"
