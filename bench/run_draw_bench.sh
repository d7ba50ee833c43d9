#!/usr/bin/env bash
# Runs the drawing benchmark under Xvfb (see run_under_xvfb.sh).
#   bench/run_draw_bench.sh [binary] [measured frames] [idle seconds]
set -euo pipefail
here=$(dirname "$0")
bin=${1:-build/bench/rk_draw_bench}
shift || true
exec "$here/run_under_xvfb.sh" "$bin" "$@"
