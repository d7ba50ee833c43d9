#!/usr/bin/env bash
# Installs the built program into a temporary home, as a teacher would with
# scripts/install.sh: the desktop entry validates, names the installed program
# and its folder, the icons exist; a second run (an update) and --remove leave
# the "Noten" folder, the settings file and the backups exactly as they were.
# Usage: install_test.sh <built program file>
set -euo pipefail
program="$1"
repo="$(cd "$(dirname "$0")/.." && pwd)"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
fail() { echo "FEHLER: $*" >&2; exit 1; }

# A folder name with blanks, quotes, "$" and "%" must survive the Exec quoting.
folder="$home/Schule \"2026\" \$A 100%"
run_install() { HOME="$home" XDG_DATA_HOME= RIDO_KLADDORIX_ORDNER="$folder" RK_PROGRAMMDATEI="$program" "$repo/scripts/install.sh" "$@"; }

run_install >/dev/null
entry="$home/.local/share/applications/rido-kladdorix.desktop"
[ -f "$entry" ] || fail "kein Menüeintrag"
desktop-file-validate "$entry" || fail "Menüeintrag ungültig"
grep -qx 'Name=Rido Kladdorix' "$entry" || fail "Name fehlt"
grep -qx 'Categories=Education;Office;' "$entry" || fail "Kategorien fehlen"
grep -qx "Path=$folder" "$entry" || fail "Arbeitsordner ist nicht der Programmordner"
grep -q '^Exec=' "$entry" || fail "Exec fehlt"
cmp -s "$program" "$folder/rido-kladdorix" || fail "Programmdatei nicht installiert"
[ -x "$folder/rido-kladdorix" ] || fail "Programmdatei nicht ausführbar"
for n in 16 24 32 48 64 128 256; do
  cmp -s "$repo/media/icons/rido-kladdorix-$n.png" "$home/.local/share/icons/hicolor/${n}x${n}/apps/rido-kladdorix.png" \
    || fail "Symbol ${n}x${n} fehlt"
done

# The Exec line, unquoted as a desktop would, must name the installed program.
exec_value="$(sed -n 's/^Exec=//p' "$entry")"
python3 - "$exec_value" "$folder/rido-kladdorix" <<'PY' || fail "Exec nennt nicht das installierte Programm"
import sys
value, want = sys.argv[1], sys.argv[2]
# String escaping first (backslashes), then the Exec quoting rules.
s = value.replace("\\\\", "\\")
assert s.startswith('"') and s.endswith('"'), s
inner, out, i = s[1:-1], "", 0
while i < len(inner):
    if inner[i] == "\\":
        i += 1
    out += inner[i]
    i += 1
sys.exit(0 if out.replace("%%", "%") == want else 1)
PY

# The teacher's data, then an update and a removal.
mkdir -p "$folder/Noten/7b/Backups" "$folder/Noten/7b/Bilder"
printf 'ID;P\r\nC;Y1;X1;K"7b"\r\nE\r\n' > "$folder/Noten/7b/7b Deutsch.slk"
printf 'alt\r\n' > "$folder/Noten/7b/Backups/7b Deutsch 2026-12-01.slk"
printf '\r\n\r\n11\r\n' > "$folder/.Kladdorix-Einstellungen"
snapshot() { (cd "$folder" && find Noten .Kladdorix-Einstellungen -type f -print0 | sort -z | xargs -0 sha256sum); }
before="$(snapshot)"

run_install >/dev/null
[ "$(snapshot)" = "$before" ] || fail "eine Aktualisierung hat die Noten verändert"
cmp -s "$program" "$folder/rido-kladdorix" || fail "Programmdatei nach der Aktualisierung falsch"

out="$(run_install --remove)"
[ "$(snapshot)" = "$before" ] || fail "das Entfernen hat die Noten verändert"
[ ! -e "$folder/rido-kladdorix" ] || fail "Programmdatei nicht entfernt"
[ ! -e "$entry" ] || fail "Menüeintrag nicht entfernt"
[ -z "$(find "$home/.local/share/icons" -name rido-kladdorix.png)" ] || fail "Symbole nicht entfernt"
grep -q "bleiben unverändert erhalten" <<<"$out" || fail "das Entfernen sagt nicht, dass die Noten bleiben"
echo "install: 1 passed, 0 failed"
