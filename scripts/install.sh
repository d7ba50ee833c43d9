#!/usr/bin/env bash
# Installs Rido Kladdorix for the current user, like a desktop program:
# builds it, puts the program file into its program folder and registers it
# with the desktop (menu entry and icons below ~/.local/share).
#
#   scripts/install.sh            install, or update an installed program
#   scripts/install.sh --remove   remove program file, menu entry and icons
#
# The program folder (default ~/Rido-Kladdorix, another one:
# RIDO_KLADDORIX_ORDNER=/pfad) also holds the teacher's data: the folder
# "Noten", the settings file and the backups. Neither installing, updating
# nor removing ever touches them: only the program file is replaced (by
# rename) or removed.
# RK_PROGRAMMDATEI=/pfad/rido-kladdorix installs an already built program
# file instead of building one (used by the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"

folder="${RIDO_KLADDORIX_ORDNER:-$HOME/Rido-Kladdorix}"
folder="${folder%/}"
data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
entry="$data_home/applications/rido-kladdorix.desktop"
icons="$data_home/icons/hicolor"
sizes=(16 24 32 48 64 128 256)

refresh_desktop() {
  command -v update-desktop-database >/dev/null && update-desktop-database -q "$data_home/applications" 2>/dev/null || true
  command -v gtk-update-icon-cache >/dev/null && gtk-update-icon-cache -q -t "$icons" 2>/dev/null || true
}

if [ "${1:-}" = "--remove" ]; then
  rm -f "$folder/rido-kladdorix" "$entry"
  for n in "${sizes[@]}"; do rm -f "$icons/${n}x${n}/apps/rido-kladdorix.png"; done
  refresh_desktop
  echo "Rido Kladdorix wurde entfernt (Programmdatei, Menüeintrag und Symbole)."
  echo "Alle Notenbücher, Einstellungen und Backups in $folder bleiben unverändert erhalten."
  exit 0
elif [ $# -gt 0 ]; then
  echo "Aufruf: scripts/install.sh [--remove]" >&2
  exit 2
fi

program="${RK_PROGRAMMDATEI:-}"
if [ -z "$program" ]; then
  scripts/install-deps.sh
  scripts/build.sh
  program="$repo/build/rido-kladdorix"
fi

# The program file is replaced by rename: a running copy keeps its old file,
# and nothing else in the folder is touched.
mkdir -p "$folder"
cp "$program" "$folder/.rido-kladdorix.neu"
chmod 755 "$folder/.rido-kladdorix.neu"
mv -f "$folder/.rido-kladdorix.neu" "$folder/rido-kladdorix"

for n in "${sizes[@]}"; do
  mkdir -p "$icons/${n}x${n}/apps"
  cp "$repo/media/icons/rido-kladdorix-$n.png" "$icons/${n}x${n}/apps/rido-kladdorix.png.neu"
  mv -f "$icons/${n}x${n}/apps/rido-kladdorix.png.neu" "$icons/${n}x${n}/apps/rido-kladdorix.png"
done

# Desktop entry values: backslashes doubled (string escaping); inside the
# quoted Exec argument also '"', '`' and '$' escaped, and '%' doubled.
escape_string() { local s="${1//\\/\\\\}"; printf '%s' "$s"; }
quote_exec() {
  local s="$1"
  s="${s//\\/\\\\}"; s="${s//\"/\\\"}"; s="${s//\`/\\\`}"; s="${s//\$/\\\$}"; s="${s//%/%%}"
  escape_string "\"$s\""
}

mkdir -p "$(dirname "$entry")"
cat > "$entry.neu" <<ENTRY
[Desktop Entry]
Type=Application
Version=1.4
Name=Rido Kladdorix
GenericName=Notenbuch
Comment=Noten, Durchschnitte und Schülerlisten für jede Klasse und jedes Fach
Exec=$(quote_exec "$folder/rido-kladdorix")
Path=$(escape_string "$folder")
Icon=rido-kladdorix
Terminal=false
StartupWMClass=rido-kladdorix
Categories=Education;Office;
Keywords=Noten;Zensuren;Notenbuch;Klasse;Schule;Gymnasium;
ENTRY
mv -f "$entry.neu" "$entry"
refresh_desktop

echo "Rido Kladdorix ist installiert: $folder/rido-kladdorix"
echo "Es steht im Anwendungsmenü unter Bildung und Büro."
