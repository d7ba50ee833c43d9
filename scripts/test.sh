#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: unit tests (headless)
# and end-to-end tests (the real program under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
scripts/build.sh
cd build
ctest --output-on-failure -j2 --timeout 600
