#!/bin/sh
# The wine prefix of one run of the Windows end-to-end tests, inside the
# build folder (never the real home):
#   wine_prefix.sh make <run folder>   a fresh prefix
#   wine_prefix.sh stop <run folder>   ends every program of the prefix
set -eu
run=$2
export WINEPREFIX="$run/prefix" HOME="$run/home" WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
case $1 in
make)
  if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$run"
  mkdir -p "$run/home"
  start=$(date +%s)
  # A display of its own: without one, wineboot waits for its windows.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/display" </dev/null >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -s "$run/display" ] && break; sleep 0.1; done
  DISPLAY=:$(cat "$run/display") wineboot -i >"$run/wineboot.log" 2>&1
  DISPLAY=:$(cat "$run/display") wineserver -w
  echo "wine prefix made in $(($(date +%s) - start)) s: $WINEPREFIX"
  ;;
stop)
  wineserver -k 2>/dev/null || true
  ;;
esac
