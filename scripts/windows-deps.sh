# The libraries of the Windows build: sourced by scripts/build-windows.sh and
# by every script that needs the cross-built libraries.
#
#   rk_windows_deps   finds (or builds once) the prefix and sets
#                     RK_WINDOWS_PREFIX to it
#
# The libraries come from Debian's own source packages of this release,
# built statically for x86_64-w64-mingw32 into one prefix. The prefix lives
# in a cache outside the clone, named by a hash of the package versions, the
# compiler's version and this recipe, so a clean clone or a CI run on the
# same machine reuses it and a new version builds a new one.
# RK_WINDOWS_CACHE overrides the cache folder.

RK_WIN_HOST=x86_64-w64-mingw32
RK_WIN_SOURCES=(zlib-mingw libpng1.6 freetype libjpeg-turbo libsodium libsdl2 pixman cairo googletest)
RK_WIN_SCRIPTS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# Raise this whenever a change below alters how a library is built: it is
# part of the prefix's name, so the next run builds a new prefix.
RK_WIN_RECIPE=2

rk_win_cache_root() {
  if [ -n "${RK_WINDOWS_CACHE:-}" ]; then
    echo "$RK_WINDOWS_CACHE"
  elif [ -w /var/cache ] || [ -w /var/cache/rido-kladdorix ]; then
    echo /var/cache/rido-kladdorix
  else
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/rido-kladdorix"
  fi
}

# apt-get/apt-cache with a source list and state folders of their own.
rk_win_apt() {
  local tool=$1; shift
  local apt_dir; apt_dir="$(rk_win_cache_root)/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
  "$tool" -q \
    -o Dir::State::Lists="$apt_dir/lists" \
    -o Dir::Cache="$apt_dir/cache" \
    -o Dir::Etc::SourceList="$RK_WIN_SCRIPTS/windows/debian-sources.list" \
    -o Dir::Etc::SourceParts="$apt_dir/parts" \
    -o APT::Sandbox::User=root \
    "$@"
}

# The newest version of a source package in the lists.
rk_win_source_version() {
  local best="" v
  for v in $(rk_win_apt apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p'); do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  echo "$best"
}

rk_win_installed_version() {
  dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo none
}

# "name version" for everything that goes into the prefix.
rk_win_versions() {
  local p
  for p in libpng1.6 freetype libjpeg-turbo libsodium libsdl2 pixman cairo; do
    echo "$p $(rk_win_source_version "$p")"
  done
  echo "libz-mingw-w64-dev $(rk_win_installed_version libz-mingw-w64-dev)"
  echo "googletest $(rk_win_installed_version googletest)"
  echo "g++-mingw-w64-x86-64-posix $(rk_win_installed_version g++-mingw-w64-x86-64-posix)"
  # The recipe: its number, and the patch and source list by content only, so a
  # clone in any folder (CI's) finds the libraries another clone built.
  echo "recipe $RK_WIN_RECIPE $(cat "$RK_WIN_SCRIPTS"/windows/* | sha256sum | cut -c1-16)"
}

rk_windows_deps() {
  local root; root="$(rk_win_cache_root)"
  mkdir -p "$root"
  local versions
  if rk_win_apt apt-get update >"$root/apt-update.log" 2>&1; then
    versions="$(rk_win_versions)"
  elif [ -f "$root/windows-current" ]; then
    # No archive reachable: the prefix the last run built or used.
    RK_WINDOWS_PREFIX="$(cat "$root/windows-current")"
    echo "Paketquellen nicht erreichbar; nehme $RK_WINDOWS_PREFIX"
    export RK_WINDOWS_PREFIX
    return 0
  else
    cat "$root/apt-update.log" >&2
    echo "Die Quellpakete von Debian sind nicht erreichbar." >&2
    return 1
  fi
  if echo "$versions" | grep -q ' $'; then
    echo "Quellpaket nicht gefunden:" >&2; echo "$versions" | grep ' $' >&2; return 1
  fi
  local hash; hash="$(echo "$versions" | sha256sum | cut -c1-12)"
  RK_WINDOWS_PREFIX="$root/windows-$hash"
  export RK_WINDOWS_PREFIX
  # One build at a time: a second run on the same machine waits and reuses it.
  exec 9>"$root/windows-$hash.lock"
  flock 9
  if [ ! -f "$RK_WINDOWS_PREFIX/.complete" ]; then
    rm -rf "$RK_WINDOWS_PREFIX"
    local start=$SECONDS
    ( rk_win_build_all "$RK_WINDOWS_PREFIX" "$root/work-$hash" ) || { flock -u 9; return 1; }
    echo "$versions" >"$RK_WINDOWS_PREFIX/versions.txt"
    echo "Windows-Bibliotheken gebaut in $((SECONDS - start)) s: $RK_WINDOWS_PREFIX"
    touch "$RK_WINDOWS_PREFIX/.complete"
    rm -rf "$root/work-$hash"
  fi
  echo "$RK_WINDOWS_PREFIX" >"$root/windows-current"
  flock -u 9
}

# --- the builds --------------------------------------------------------------

rk_win_fetch() {  # name → unpacked folder in the current folder
  local name=$1 version; version="$(rk_win_source_version "$name")"
  mkdir -p "src-$name" && cd "src-$name"
  if ! rk_win_apt apt-get source --download-only "$name=$version" >fetch.log 2>&1; then
    # A security update's files were seen missing on the mirror: the release's own.
    rm -f ./*.dsc
    rk_win_apt apt-get source --download-only "$name/bookworm" >>fetch.log 2>&1 || true
  fi
  local dsc; dsc="$(ls ./*.dsc 2>/dev/null | head -1)"
  if [ -n "$dsc" ] && dpkg-source --no-check -x "$dsc" unpacked >>fetch.log 2>&1; then
    :
  else
    # The upstream tarball alone (a missing Debian diff is not needed).
    local orig; orig="$(ls ./*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -1)"
    [ -n "$orig" ] || { cat fetch.log >&2; return 1; }
    rm -rf unpacked && mkdir unpacked && tar -xf "$orig" -C unpacked --strip-components=1
  fi
  cd ..
  echo "$PWD/src-$name/unpacked"
}

rk_win_build_all() {
  local prefix=$1 work=$2
  set -euo pipefail
  rm -rf "$work" && mkdir -p "$work" "$prefix/lib/pkgconfig" "$prefix/include"
  cd "$work"
  local host=$RK_WIN_HOST jobs; jobs="${RK_WINDOWS_JOBS:-$(nproc)}"
  export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib
  export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=
  local toolchain="$RK_WIN_SCRIPTS/../cmake/mingw-w64-x86_64.cmake"
  local cmake_cross=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DRK_WINDOWS_PREFIX="$prefix"
                     -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF)
  local auto_cross=(--host=$host --prefix="$prefix" --disable-shared --enable-static)
  local t

  # zlib: Debian's mingw build, the static library only (else -lz takes the DLL).
  cp /usr/$host/include/zlib.h /usr/$host/include/zconf.h "$prefix/include/"
  cp /usr/$host/lib/libz.a "$prefix/lib/"
  cat >"$prefix/lib/pkgconfig/zlib.pc" <<EOF
prefix=$prefix
Name: zlib
Description: zlib compression library
Version: $(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$prefix/include/zlib.h")
Libs: -L\${prefix}/lib -lz
Cflags: -I\${prefix}/include
EOF

  t=$SECONDS; local src; src="$(rk_win_fetch libpng1.6)"
  ( cd "$src" && CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" ./configure "${auto_cross[@]}" >../build.log 2>&1 \
      && make -j"$jobs" install >>../build.log 2>&1 ) || { tail -40 src-libpng1.6/build.log >&2; return 1; }
  echo "  libpng $((SECONDS - t)) s"

  t=$SECONDS; src="$(rk_win_fetch freetype)"
  cmake -S "$src" -B build-freetype "${cmake_cross[@]}" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON >build-freetype.log 2>&1 \
    && cmake --build build-freetype -j"$jobs" --target install >>build-freetype.log 2>&1 \
    || { tail -40 build-freetype.log >&2; return 1; }
  echo "  freetype $((SECONDS - t)) s"

  t=$SECONDS; src="$(rk_win_fetch libjpeg-turbo)"
  cmake -S "$src" -B build-jpeg "${cmake_cross[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm >build-jpeg.log 2>&1 \
    && cmake --build build-jpeg -j"$jobs" --target install >>build-jpeg.log 2>&1 \
    || { tail -40 build-jpeg.log >&2; return 1; }
  echo "  libjpeg-turbo $((SECONDS - t)) s"

  t=$SECONDS; src="$(rk_win_fetch libsodium)"
  # Debian's tarball has no configure, and autogen.sh wants the network.
  ( cd "$src" && autoreconf -fi >../build.log 2>&1 && ./configure "${auto_cross[@]}" >>../build.log 2>&1 \
      && make -j"$jobs" install >>../build.log 2>&1 ) || { tail -40 src-libsodium/build.log >&2; return 1; }
  echo "  libsodium $((SECONDS - t)) s"

  t=$SECONDS; src="$(rk_win_fetch libsdl2)"
  # The program needs only a window with OpenGL, events and timers: the
  # subsystems it never starts stay out, which halves SDL's build.
  cmake -S "$src" -B build-sdl "${cmake_cross[@]}" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
    -DSDL_RENDER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_FILESYSTEM=OFF -DSDL_VULKAN=OFF \
    -DSDL_OPENGLES=OFF -DSDL_DIRECTX=OFF -DSDL_WASAPI=OFF -DSDL_RENDER_D3D=OFF \
    >build-sdl.log 2>&1 && cmake --build build-sdl -j"$jobs" --target install >>build-sdl.log 2>&1 \
    || { tail -40 build-sdl.log >&2; return 1; }
  echo "  SDL2 $((SECONDS - t)) s"

  t=$SECONDS; src="$(rk_win_fetch pixman)"
  cat >meson-cross.txt <<EOF
[binaries]
c = '$host-gcc-posix'
cpp = '$host-g++-posix'
ar = '$host-ar'
strip = '$host-strip'
pkgconfig = 'pkg-config'
windres = '$host-windres'
[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
  meson setup build-pixman "$src" --cross-file meson-cross.txt --prefix="$prefix" --libdir=lib \
    --buildtype=release --default-library=static -Dtests=disabled -Dgtk=disabled -Dlibpng=disabled \
    -Dopenmp=disabled >build-pixman.log 2>&1 && ninja -C build-pixman -j"$jobs" install >>build-pixman.log 2>&1 \
    || { tail -40 build-pixman.log >&2; return 1; }
  echo "  pixman $((SECONDS - t)) s"

  t=$SECONDS; src="$(rk_win_fetch cairo)"
  # Debian's patch adds a second exported-symbols list, which libtool refuses.
  if [ -f "$src/debian/patches/03_export-symbols.patch" ]; then
    ( cd "$src" && patch -R -p1 <debian/patches/03_export-symbols.patch >/dev/null )
  fi
  # A static cairo never runs its DllMain, where the Windows build sets up
  # its locks: set them up when the program starts.
  cat "$RK_WIN_SCRIPTS/windows/cairo-static-mutex.c" >>"$src/src/cairo-mutex.c"
  ( cd "$src" && GTKDOCIZE=true NOCONFIGURE=1 autoreconf -fi >../build.log 2>&1 \
      && CPPFLAGS="-DCAIRO_WIN32_STATIC_BUILD=1 -I$prefix/include" CFLAGS="-O2 -Wp,-U_FORTIFY_SOURCE" \
         LDFLAGS="-L$prefix/lib" ./configure "${auto_cross[@]}" --enable-pdf --enable-ft --enable-fc=no \
         --enable-png=no --enable-ps=no --enable-svg=no --enable-script=no --enable-xlib=no --enable-xcb=no \
         --enable-gl=no --enable-win32=no --enable-win32-font=no --enable-interpreter=no \
         --enable-trace=no --enable-gtk-doc=no >>../build.log 2>&1 \
      && make -j"$jobs" -C src install >>../build.log 2>&1 ) \
    || { tail -60 src-cairo/build.log >&2; return 1; }
  echo "  cairo $((SECONDS - t)) s"

  t=$SECONDS
  cmake -S /usr/src/googletest -B build-gtest "${cmake_cross[@]}" -Dgtest_disable_pthreads=OFF \
    >build-gtest.log 2>&1 && cmake --build build-gtest -j"$jobs" --target install >>build-gtest.log 2>&1 \
    || { tail -40 build-gtest.log >&2; return 1; }
  echo "  googletest $((SECONDS - t)) s"
}
