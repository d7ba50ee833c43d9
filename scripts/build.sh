#!/usr/bin/env bash
# Configures and builds into build/ (a build folder only: never holds data).
# With ccache installed, compilations are cached across checkouts.
# --sanitize builds into build-sanitize/ with AddressSanitizer and
# UndefinedBehaviorSanitizer instead.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=build
options=()
if [ "${1:-}" = "--sanitize" ]; then
  folder=build-sanitize
  options=(-DRK_SANITIZE=ON)
fi
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "${options[@]}" >/dev/null
cmake --build "$folder" -j"$(nproc)"
