#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: installs the Debian packages that are
# missing, then configures and builds the release build in build/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(build-essential cmake ninja-build qt6-base-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont-gothic fp-utils
  libjpeg-turbo-progs libjpeg62-turbo-dev libtiff-dev qt6-pdf-dev xvfb xauth poppler-utils
  desktop-file-utils appstream file libgdal-dev gdal-bin python3-ezdxf)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

JOBS="${JOBS:-$(nproc)}"
if [ ! -f "$ROOT/build/build.ninja" ]; then
  cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$ROOT/build" -j "$JOBS"
