#!/usr/bin/env bash
# Runs a Windows program under wine, for ctest and the scripts: a wine folder
# of the build's own (never the user's ~/.wine), made on first use.
#   wine-run.sh <folder for wine> program.exe [arguments]
#   wine-run.sh <folder for wine> --server -p|-k   starts or stops its wine server
set -euo pipefail
root=$1; shift
mkdir -p "$root/home"
export WINEPREFIX="$root/prefix" HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config"
export XDG_DATA_HOME="$root/home/.local/share" XDG_CACHE_HOME="$root/home/.cache"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
if [ "${1:-}" = "--server" ]; then
  shift
  exec wineserver "$@"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (flock 9; [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1) 9>"$root/.boot.lock"
fi
exec wine "$@"
