#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the Linux program's
# unit tests (headless) and end-to-end tests (the real program under Xvfb),
# then the Windows program's unit tests and its end-to-end tests under wine.
#
#   scripts/test.sh              Linux, then Windows
#   scripts/test.sh --linux      only the Linux side (build/)
#   scripts/test.sh --windows    only the Windows side (build-windows/; the
#                                end-to-end tests under wine need build/ too)
#   scripts/test.sh --sanitize   build-sanitize/ with AddressSanitizer and
#                                UndefinedBehaviorSanitizer; every test, the
#                                program started by the end-to-end tests too,
#                                stops at the first error or leak. Only the
#                                one known leak in the system's D-Bus library,
#                                reached through SDL, is suppressed
#                                (tests/sanitizers/lsan.supp).
set -euo pipefail
cd "$(dirname "$0")/.."
side="${1:-all}"

linux_tests() {
  scripts/install-deps.sh --tests
  scripts/build.sh
  # The Windows program's own end-to-end tests run on the Windows side.
  (cd build && ctest --output-on-failure -j2 --timeout 600 -LE windows-e2e)
}

windows_tests() {
  scripts/build-windows.sh
  [ -x build/rido-kladdorix ] || { scripts/install-deps.sh --tests; scripts/build.sh; }
  local wine_folder="$PWD/build-windows/wine"
  # One wine server for the whole run, started before ctest: wine's services
  # starting inside every test would cost seconds each.
  cmake/wine-run.sh "$wine_folder" wineboot >/dev/null 2>&1
  # A USB stick: drive E: on a folder of the build, removable through wine's
  # registry; the server reads the drive types when it starts.
  mkdir -p "$wine_folder/stick"
  ln -sfn "$wine_folder/stick" "$wine_folder/prefix/dosdevices/e:"
  cmake/wine-run.sh "$wine_folder" reg add 'HKLM\Software\Wine\Drives' /v e: /t REG_SZ /d floppy /f >/dev/null 2>&1
  cmake/wine-run.sh "$wine_folder" --server -k || true
  cmake/wine-run.sh "$wine_folder" --server -p || true  # one may run already
  # wine's services start now, outside ctest's output pipe.
  cmake/wine-run.sh "$wine_folder" wineboot </dev/null >/dev/null 2>&1
  export RK_TEST_REMOVABLE_DRIVE=E:
  local status=0
  # One at a time: under wine, tests running side by side were seen to
  # disturb each other's timing.
  (cd build-windows && ctest --output-on-failure -j1 --timeout 600 -L unit) || status=1
  # The Windows program in Xvfb, driven like the Linux one.
  RK_E2E_WINDOWS_PROGRAM="$PWD/build-windows/Rido-Kladdorix/Rido-Kladdorix.exe" RK_E2E_WINE_FOLDER="$wine_folder" \
    build/tests/e2e/rk_e2e_tests --gtest_filter='UnterWine.*' || status=1
  cmake/wine-run.sh "$wine_folder" --server -k || true
  # The teacher's flows with the program, its zip and its setup, from a wine
  # prefix of their own (tests/e2e/windows/).
  scripts/test-windows-e2e.sh || status=1
  return $status
}

case "$side" in
  --sanitize)
    scripts/install-deps.sh --tests
    scripts/build.sh --sanitize
    # intercept_tls_get_addr=0: the leak checker's own thread otherwise crashes
    # on the dynamic TLS of Mesa's libraries at the program's end (a
    # "Tracer caught signal 11"). Without that tracking it can only report more
    # leaks, never fewer.
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0"
    export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    cd build-sanitize
    # Everything runs several times slower under the sanitizers.
    ctest --output-on-failure -j2 --timeout 1800
    ;;
  --linux) linux_tests ;;
  --windows) windows_tests ;;
  all)
    status=0
    linux_tests || status=1
    windows_tests || status=1
    exit $status
    ;;
  *) echo "Aufruf: scripts/test.sh [--linux | --windows | --sanitize]" >&2; exit 2 ;;
esac
