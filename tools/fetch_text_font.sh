#!/bin/sh
# Copies the text font (Open Sans Regular from Debian's fonts-open-sans) to media/fonts/segoeui.ttf,
# the resource name the program loads; the layout was drawn for Segoe UI, which is not free.
# Also writes the licence file beside it. Installs the package when it is missing (needs root).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PKG=fonts-open-sans
SRC=/usr/share/fonts/truetype/open-sans/OpenSans-Regular.ttf

if [ ! -f "$SRC" ]; then
    apt-get install -y "$PKG"
fi

mkdir -p "$ROOT/media/fonts"
cp "$SRC" "$ROOT/media/fonts/segoeui.ttf"

VERSION=$(dpkg-query -W -f='${Version}' "$PKG")
LIC="$ROOT/media/fonts/LICENSE-segoeui.txt"
{
    echo "media/fonts/segoeui.ttf is Open Sans Regular (OpenSans-Regular.ttf),"
    echo "taken unchanged from the Debian package $PKG $VERSION; only the file name differs."
    echo "It is not Segoe UI. Licence: Apache License 2.0."
    echo
    echo "===== Debian copyright file of $PKG ====="
    cat "/usr/share/doc/$PKG/copyright"
    echo
    echo "===== Apache License 2.0 ====="
    cat /usr/share/common-licenses/Apache-2.0
} > "$LIC"

echo "copied $SRC ($PKG $VERSION) to media/fonts/segoeui.ttf"
