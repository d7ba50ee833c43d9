#!/usr/bin/env bash
# Installs what is missing, builds, installs the program into its program
# folder (with its menu entry) and starts it there. The program folder holds
# the teacher's "Noten" data, so it lies outside the repository, where no
# rebuild or `git clean` reaches it.
# Default: ~/Rido-Kladdorix; another folder: RIDO_KLADDORIX_ORDNER=/pfad.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install.sh
folder="${RIDO_KLADDORIX_ORDNER:-$HOME/Rido-Kladdorix}"
exec "${folder%/}/rido-kladdorix"
