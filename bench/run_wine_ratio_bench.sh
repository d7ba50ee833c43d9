#!/usr/bin/env bash
# The Windows program under wine against the Linux program (same run, same
# virtual screen): start to first frame and opening a 40 x 60 gradebook.
#   bench/run_wine_ratio_bench.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
export RK_E2E_WINDOWS_PROGRAM="$PWD/build-windows/Rido-Kladdorix/Rido-Kladdorix.exe"
export RK_E2E_WINE_FOLDER="$PWD/build-windows/wine"
cmake/wine-run.sh "$RK_E2E_WINE_FOLDER" --server -p || true  # one may run already
trap 'cmake/wine-run.sh "$RK_E2E_WINE_FOLDER" --server -k || true' EXIT
build/bench/rk_wine_ratio_bench "$@"
