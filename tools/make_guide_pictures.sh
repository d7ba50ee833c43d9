#!/bin/sh
# Makes the pictures of the guide docs/Anleitung.md again: builds the program
# and runs it under Xvfb, driven step by step like a teacher would (see
# tests/e2e/guide_pictures.cpp). Needs what the tests need:
#   scripts/install-deps.sh --tests
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
scripts/build.sh
build/tests/e2e/rk_guide_pictures "$ROOT/docs/bilder"
