#!/usr/bin/env bash
# Packs the ready Windows program for teachers: the portable zip and the setup.
#
#   scripts/package-windows.sh [ready folder] [output folder]
#
# defaults build-windows/Rido-Kladdorix and build-windows. Writes
#   <output>/Rido-Kladdorix-Windows.zip   one folder "Rido-Kladdorix": the
#       program, its DLLs, "Liesmich.txt" and the licences in "Lizenzen"
#   <output>/Rido-Kladdorix-Setup.exe     NSIS setup of the same files
# The ready folder itself is left as it is; the files are assembled in
# <output>/paket (the exe without its symbols). Called by scripts/build-windows.sh after the program is built.
#
# Licences: the Debian copyright file of each library the program carries,
# from the unpacked Debian source package when RK_WINDOWS_DEBIAN_SOURCES names
# the folder holding them, else from /usr/share/doc of the same Debian
# release, with the common licence texts they refer to.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
ready=$(realpath "${1:-build-windows/Rido-Kladdorix}")
out=$(realpath -m "${2:-build-windows}")
exe=Rido-Kladdorix.exe
if [ ! -f "$ready/$exe" ]; then
  echo "package-windows.sh: $ready/$exe fehlt (erst scripts/build-windows.sh)" >&2
  exit 1
fi
version=$(sed -n 's/^project(RidoKladdorix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package-windows.sh: keine Version in CMakeLists.txt" >&2; exit 1; }
# Same sources, same bytes: every file gets the time of the last commit.
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1767225600)}

work=$out/paket
stage=$work/Rido-Kladdorix
rm -rf "$work"
mkdir -p "$stage/Lizenzen/Lizenztexte"
cp -a "$ready/." "$stage/"
# Teachers get the program without its symbols.
x86_64-w64-mingw32-strip --strip-all "$stage"/*.exe

# Text for Windows' editor: CR LF, UTF-8 with its byte order mark.
windows_text() { printf '\357\273\277'; sed 's/\r$//; s/$/\r/' "$1"; }

windows_text scripts/package-windows/Liesmich.txt >"$stage/Liesmich.txt"

debian_copyright() {  # source package, binary package
  local from=""
  if [ -n "${RK_WINDOWS_DEBIAN_SOURCES:-}" ]; then
    from=$(ls -d "$RK_WINDOWS_DEBIAN_SOURCES/src-$1"/*/debian/copyright \
                 "$RK_WINDOWS_DEBIAN_SOURCES/$1"-*/debian/copyright 2>/dev/null | head -n1 || true)
  fi
  [ -n "$from" ] || from=/usr/share/doc/$2/copyright
  if [ ! -f "$from" ]; then
    echo "package-windows.sh: keine Lizenz für $1 ($from)" >&2
    exit 1
  fi
  echo "$from"
}

licence() {  # name in Lizenzen, source package, binary package, what it is
  local file
  file=$(debian_copyright "$2" "$3")
  {
    echo "$4"
    echo "Statisch in Rido-Kladdorix.exe gebunden, gebaut aus dem Debian-Quellpaket \"$2\"."
    echo "Die im Folgenden genannten Lizenztexte aus /usr/share/common-licenses liegen in Lizenztexte."
    echo
    echo "===== Debian copyright ($2) ====="
    cat "$file"
  } >"$work/licence.tmp"
  windows_text "$work/licence.tmp" >"$stage/Lizenzen/$1.txt"
  { grep -o '/usr/share/common-licenses/[A-Za-z0-9.+-]*[A-Za-z0-9+-]' "$file" || true; } | sort -u |
    while read -r text; do
      if [ -f "$text" ]; then
        windows_text "$text" >"$stage/Lizenzen/Lizenztexte/$(basename "$text").txt"
      fi
    done
}

licence FreeType freetype libfreetype6 "FreeType: zeichnet die Schriften."
licence SDL2 libsdl2 libsdl2-2.0-0 "SDL2: Fenster, Eingabe, OpenGL."
licence libpng libpng1.6 libpng16-16 "libpng: PNG-Bilder."
licence libjpeg-turbo libjpeg-turbo libjpeg62-turbo "libjpeg-turbo: JPEG-Fotos."
licence zlib zlib libz-mingw-w64-dev "zlib: Kompression für libpng und FreeType."
licence libsodium libsodium libsodium23 "libsodium: die Verschlüsselung."
licence cairo cairo libcairo2 "cairo: die PDF-Berichte."
licence pixman pixman libpixman-1-0 "pixman: Pixelarbeit für cairo."
licence mingw-w64 mingw-w64 mingw-w64-x86-64-dev "mingw-w64: Laufzeit und winpthreads."
licence GCC-Laufzeit gcc-mingw-w64 gcc-mingw-w64-base "GCC: Laufzeitbibliotheken (libstdc++, libgcc) mit der GCC Runtime Library Exception."
windows_text media/fonts/LICENSE-segoeui.txt >"$stage/Lizenzen/Schrift-Open-Sans.txt"
windows_text media/images/LICENSES.txt >"$stage/Lizenzen/Bilder-Tabler-Icons.txt"
rm -f "$work/licence.tmp"

find "$stage" -exec touch -h -d "@$stamp" {} +

# The portable zip: one folder, entries in a fixed order, no extra fields.
rm -f "$out/Rido-Kladdorix-Windows.zip"
(cd "$work" && find Rido-Kladdorix | LC_ALL=C sort | zip -q -X -9 -@ "$out/Rido-Kladdorix-Windows.zip")

# The setup: lists of the program's own files, installed and removed by name.
files=$work/files.nsh
unfiles=$work/unfiles.nsh
: >"$files"
: >"$unfiles"
(cd "$stage" && find . -type d | LC_ALL=C sort) | while read -r dir; do
  rel=${dir#.}
  win=${rel//\//\\}
  echo "SetOutPath \"\$INSTDIR$win\"" >>"$files"
  (cd "$stage/$dir" && find . -maxdepth 1 -type f | LC_ALL=C sort) | while read -r f; do
    name=${f#./}
    echo "File \"$stage$rel/$name\"" >>"$files"
    echo "Delete \"\$INSTDIR$win\\$name\"" >>"$unfiles"
  done
done
# Folders deepest first; RMDir without /r removes only empty ones.
(cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | while read -r dir; do
  rel=${dir#.}
  echo "RMDir \"\$INSTDIR${rel//\//\\}\"" >>"$unfiles"
done
echo 'SetOutPath "$INSTDIR"' >>"$files"

size_kb=$(du -sk "$stage" | cut -f1)
rm -f "$out/Rido-Kladdorix-Setup.exe"
makensis -V2 -INPUTCHARSET UTF8 \
  "-DVERSION=$version" "-DSOURCE=$stage" "-DICON=$root/media/icons/rido-kladdorix.ico" \
  "-DFILES=$files" "-DUNFILES=$unfiles" "-DOUTFILE=$out/Rido-Kladdorix-Setup.exe" "-DSIZE_KB=$size_kb" \
  scripts/package-windows/setup.nsi
echo "$out/Rido-Kladdorix-Windows.zip: $(du -k "$out/Rido-Kladdorix-Windows.zip" | cut -f1) KB"
echo "$out/Rido-Kladdorix-Setup.exe: $(du -k "$out/Rido-Kladdorix-Setup.exe" | cut -f1) KB"
