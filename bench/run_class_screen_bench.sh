#!/usr/bin/env bash
# Runs the class screen benchmark under Xvfb (see run_under_xvfb.sh).
#   bench/run_class_screen_bench.sh [binary] [scrolling frames] [openings]
set -euo pipefail
here=$(dirname "$0")
bin=${1:-build/bench/rk_class_screen_bench}
shift || true
exec "$here/run_under_xvfb.sh" "$bin" "$@"
