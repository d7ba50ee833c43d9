#!/bin/sh
# Regenerates every embedded font and image, the manifest and the licence files, then checks them.
# Installs missing Debian tools (needs root) and the pinned npm icon package outside the work tree,
# so no node_modules folder ever lands in the repository.
set -eu
TOOLS=$(cd "$(dirname "$0")" && pwd)
NPM_DIR=${RK_MEDIA_NPM_DIR:-/tmp/rk-media-npm}

command -v rsvg-convert >/dev/null || apt-get install -y librsvg2-bin
[ -x /usr/bin/convert ] || apt-get install -y imagemagick
command -v npm >/dev/null || apt-get install -y npm

mkdir -p "$NPM_DIR"
if ! cmp -s "$TOOLS/package-lock.json" "$NPM_DIR/package-lock.json" || [ ! -d "$NPM_DIR/node_modules" ]; then
    cp "$TOOLS/package.json" "$TOOLS/package-lock.json" "$NPM_DIR/"
    (cd "$NPM_DIR" && npm ci --no-audit --no-fund)
fi

sh "$TOOLS/fetch_text_font.sh"
python3 "$TOOLS/make_symbol_font.py"
python3 "$TOOLS/make_app_icon.py"
RK_TABLER_ICONS="$NPM_DIR/node_modules/@tabler/icons/icons" python3 "$TOOLS/make_images.py"
python3 "$TOOLS/check_media.py"
