#!/usr/bin/env bash
# Builds the Debian package out/planimo_<version>_<arch>.deb from the release
# build in build/ (same set-up as run.sh and test.sh). CPack installs into a
# staging root under /usr; dpkg-shlibdeps computes the library dependencies.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/setup.sh"
mkdir -p "$ROOT/out"
(cd "$ROOT/build" && cpack -G DEB)
ls -l "$ROOT"/out/planimo_*.deb
