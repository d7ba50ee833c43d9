#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# only those that are missing (apt-get as root, sudo otherwise).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libgl-dev libfreetype-dev libpng-dev libjpeg-dev zlib1g-dev libsodium-dev libcairo2-dev
  googletest libgtest-dev
  zenity xdg-utils desktop-file-utils
)
if [ "${1:-}" = "--tests" ]; then
  # The end-to-end tests run the real program in a virtual X server with
  # Mesa's software OpenGL and drive it with xdotool; xwd takes screenshots.
  # chattr (e2fsprogs) makes a folder unwritable even for root.
  packages+=(xvfb xauth xdotool x11-apps x11-utils libgl1-mesa-dri libglx-mesa0 e2fsprogs)
  # The export test opens the copy in a real LibreOffice Calc and reads it
  # back with LibreOffice headless.
  packages+=(libreoffice-calc-nogui)
  # The printed reports are read back with pdftotext, rendered with pdftoppm
  # (poppler-utils) and checked with qpdf.
  packages+=(poppler-utils qpdf)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installiere fehlende Pakete: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
