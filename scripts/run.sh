#!/usr/bin/env bash
# Installs what is missing, builds, copies the program into its program folder
# and starts it there. The program folder holds the teacher's "Noten" data, so
# it lies outside the repository, where no rebuild or `git clean` reaches it.
# Default: ~/Rido-Kladdorix; another folder: RIDO_KLADDORIX_ORDNER=/pfad.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
folder="${RIDO_KLADDORIX_ORDNER:-$HOME/Rido-Kladdorix}"
mkdir -p "$folder"
# Replace the program file by rename, never touching anything else there.
cp build/rido-kladdorix "$folder/.rido-kladdorix.neu"
mv -f "$folder/.rido-kladdorix.neu" "$folder/rido-kladdorix"
exec "$folder/rido-kladdorix"
