#!/usr/bin/env bash
# Runs a benchmark binary in a virtual X server at 1920 x 1080 with Mesa's
# software OpenGL (llvmpipe), like the end-to-end tests.
#   bench/run_under_xvfb.sh binary [its arguments ...]
set -euo pipefail

bin=${1:?usage: run_under_xvfb.sh binary [arguments]}
shift || true
if [[ ! -x $bin ]]; then
    echo "run_under_xvfb: no benchmark binary at $bin" >&2
    exit 1
fi

fdfile=$(mktemp)
xvfb_pid=
cleanup() {
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -f "$fdfile"
}
trap cleanup EXIT

# -displayfd picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1920x1080x24 +extension GLX -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $fdfile ]] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "run_under_xvfb: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.1
done
display=$(tr -d '[:space:]' <"$fdfile")
if [[ -z $display ]]; then
    echo "run_under_xvfb: Xvfb gave no display number" >&2
    exit 1
fi

export DISPLAY=:$display
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_VIDEODRIVER=x11

xvfb_ticks() { awk '{print $14 + $15}' "/proc/$xvfb_pid/stat"; }
before=$(xvfb_ticks)
status=0
"$bin" "$@" || status=$?
after=$(xvfb_ticks)
echo "xvfb cpu during run: $(( (after - before) * 1000 / $(getconf CLK_TCK) )) ms"
exit $status
