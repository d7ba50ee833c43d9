#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: unit tests (headless)
# and end-to-end tests (the real program under Xvfb).
#
#   scripts/test.sh              build/ and all tests
#   scripts/test.sh --windows    the Windows program under wine: builds it
#                                (scripts/build-windows.sh), then its
#                                end-to-end tests (scripts/test-windows-e2e.sh)
#   scripts/test.sh --sanitize   build-sanitize/ with AddressSanitizer and
#                                UndefinedBehaviorSanitizer; every test, the
#                                program started by the end-to-end tests too,
#                                stops at the first error or leak. Only the
#                                one known leak in the system's D-Bus library,
#                                reached through SDL, is suppressed
#                                (tests/sanitizers/lsan.supp).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
if [ "${1:-}" = "--windows" ]; then
  scripts/build-windows.sh
  exec scripts/test-windows-e2e.sh
fi
if [ "${1:-}" = "--sanitize" ]; then
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
else
  scripts/build.sh
  cd build
  # The Windows program's tests under wine run with --windows.
  ctest --output-on-failure -j2 --timeout 600 -LE windows-e2e
fi
