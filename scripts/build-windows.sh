#!/usr/bin/env bash
# Builds the Windows program and its unit tests on this Debian machine:
# installs the cross tools that are missing, builds the libraries from
# Debian's source packages once (scripts/windows-deps.sh keeps them in a
# cache outside the clone), then the program into build-windows/.
# The ready program lies in build-windows/Rido-Kladdorix/.
#
#   scripts/build-windows.sh             libraries, program and tests, zip and setup
#   scripts/build-windows.sh --deps-only the libraries only
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
          wine wine64 meson nasm ninja-build pkg-config nsis dpkg-dev autoconf automake libtool zip unzip
          cmake googletest ca-certificates debian-archive-keyring xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installiere fehlende Pakete: ${missing[*]}"
  sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

source scripts/windows-deps.sh
start=$SECONDS
rk_windows_deps
echo "Bibliotheken: $((SECONDS - start)) s ($RK_WINDOWS_PREFIX)"
[ "${1:-}" = "--deps-only" ] && exit 0

start=$SECONDS
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DRK_WINDOWS_PREFIX="$RK_WINDOWS_PREFIX" \
  -DRK_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-windows -j"${RK_JOBS:-$(nproc)}"
echo "Programm und Tests: $((SECONDS - start)) s"

# Packaging for teachers (scripts/package-windows.sh): the portable zip and
# the setup, from the ready program folder.
start=$SECONDS
scripts/package-windows.sh build-windows/Rido-Kladdorix build-windows
echo "Zip und Setup: $((SECONDS - start)) s"
