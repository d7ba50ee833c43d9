#!/bin/sh
# Makes the Windows pictures of the guide docs/Anleitung.md again: the setup's
# pages and the program it starts, under wine in Xvfb from a fresh wine prefix
# (see tests/e2e/windows/guide_pictures_windows.cpp). Needs the Windows build:
#   scripts/build-windows.sh
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
export CCACHE_BASEDIR="$ROOT"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRK_WINDOWS_E2E=ON >/dev/null
cmake --build build -j"$(nproc)" --target rk_windows_guide_pictures rk_windows_stand_in
run="$ROOT/build/tests/e2e/windows/wine-run"
sh tests/e2e/windows/wine_prefix.sh make "$run"
status=0
build/tests/e2e/windows/rk_windows_guide_pictures "$ROOT/docs/bilder" || status=$?
sh tests/e2e/windows/wine_prefix.sh stop "$run"
exit $status
