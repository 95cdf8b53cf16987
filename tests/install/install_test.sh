#!/usr/bin/env bash
# Installs the build into a temporary prefix with DESTDIR (no root needed) and
# checks what a desktop user gets: the files in their places, a menu entry and
# an AppStream description the desktop tools accept, a program that starts
# from there, and a first start on a read-only installation that gives the
# user an own Init.ini and writes nothing into the installation.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
BUILD="$1"
WORK="$(mktemp -d)"
trap 'chmod -R u+w "$WORK"; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$WORK/root" cmake --install "$BUILD" --prefix /usr >/dev/null
PREFIX="$WORK/root/usr"
APP=org.planimo.Planimo

expected=(
  bin/planimo
  share/planimo/Init.ini
  share/planimo/help/index.html
  share/planimo/help/style.css
  share/doc/planimo/README.md
  share/doc/planimo/examples/site_plan.jpg
  share/doc/planimo/examples/README.md
  share/applications/$APP.desktop
  share/metainfo/$APP.metainfo.xml
  share/icons/hicolor/scalable/apps/planimo.svg
)
[ -f "$BUILD/help.chm" ] && expected+=(share/planimo/help.chm)
for size in 16 24 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/planimo.png"); done
for f in "${expected[@]}"; do [ -f "$PREFIX/$f" ] || fail "missing $f"; done
[ -x "$PREFIX/bin/planimo" ] || fail "bin/planimo is not executable"
# Nothing else is installed, and nothing of the help project's sources.
actual=$(cd "$PREFIX" && find . -type f | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
extra=$(comm -23 <(echo "$actual") <(echo "$wanted") | grep -v '^share/planimo/help/[a-z]*\.html$' || true)
[ -z "$extra" ] || fail "unexpected files: $extra"

# Each PNG icon is as large as the folder it sits in says.
for size in 16 24 32 48 64 128 256; do
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$PREFIX/share/icons/hicolor/${size}x${size}/apps/planimo.png")
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "${size}x${size} icon is ${w}x${h}"
done

desktop-file-validate "$PREFIX/share/applications/$APP.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=planimo %f' "$PREFIX/share/applications/$APP.desktop" || fail "Exec line"
appstreamcli validate --no-net "$PREFIX/share/metainfo/$APP.metainfo.xml" || fail "appstreamcli validate"
grep -q '<release version="1.6.0"' "$PREFIX/share/metainfo/$APP.metainfo.xml" || fail "release 1.6.0"

version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$PREFIX/bin/planimo" --version)
[ "$version" = "Planimo 1.6.0" ] || fail "--version printed '$version'"

# The installed program writes a CSV table from a project without a window.
SRC="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$WORK" QT_QPA_PLATFORM=offscreen \
  "$PREFIX/bin/planimo" --csv areas "$SRC/tests/core/io/golden/site.ini" "$WORK/areas.csv" \
  || fail "--csv areas exited with $?"
iconv -f CP932 -t UTF-8 "$WORK/areas.csv" | head -n 1 | grep -q '^№,コメント,面積,単位' || fail "--csv areas header"
if env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$WORK" QT_QPA_PLATFORM=offscreen \
  "$PREFIX/bin/planimo" --csv areas "$WORK/missing.ini" "$WORK/none.csv" 2>/dev/null; then
  fail "--csv on a missing project reported success"
fi

# First start of a read-only installation.
chmod -R a-w "$WORK/root"
before=$(cd "$WORK/root" && find . -printf '%p %s %T@ %m\n' | sort)
mkdir -p "$WORK/home"
HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK" QT_QPA_PLATFORM=offscreen \
  PLANIMO_SCREENSHOT="$WORK/shot.png" "$PREFIX/bin/planimo" 2>/dev/null
[ -s "$WORK/shot.png" ] || fail "the installed program did not show its window"
USER_INI="$WORK/config/planimo/Init.ini"
[ -f "$USER_INI" ] || fail "first start made no user Init.ini"
cmp -s "$USER_INI" "$PREFIX/share/planimo/Init.ini" || fail "user Init.ini differs from the installed one"
[ -w "$USER_INI" ] || fail "user Init.ini is not writable"
after=$(cd "$WORK/root" && find . -printf '%p %s %T@ %m\n' | sort)
[ "$before" = "$after" ] || fail "the installation changed: $(diff <(echo "$before") <(echo "$after"))"
echo "install layout OK"
