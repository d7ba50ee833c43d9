#!/usr/bin/env bash
# The end-to-end tests of the Windows program under wine in Xvfb: the
# program, its zip and its setup from build-windows/ (scripts/build-windows.sh
# makes them), driven by the Linux harness from build/, in a fresh wine
# prefix below build/ made once per run. Called by scripts/test.sh --windows.
set -euo pipefail
cd "$(dirname "$0")/.."
for f in build-windows/Rido-Kladdorix/Rido-Kladdorix.exe build-windows/Rido-Kladdorix-Windows.zip \
         build-windows/Rido-Kladdorix-Setup.exe; do
  [ -f "$f" ] || { echo "test-windows-e2e.sh: $f fehlt (erst scripts/build-windows.sh)" >&2; exit 1; }
done
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" -DRK_WINDOWS_E2E=ON >/dev/null
cmake --build build -j"${RK_JOBS:-$(nproc)}" --target rk_windows_e2e_tests
cd build
ctest --output-on-failure -L windows-e2e --timeout 600
