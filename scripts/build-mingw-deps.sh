#!/usr/bin/env bash
# Builds the static third-party libraries of the Windows build into build/mingw-deps:
# libpng and libjpeg-turbo from Debian's source packages, GoogleTest from
# /usr/src/googletest. A complete prefix (stamp file) makes a second run a no-op.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="${PALLO_MINGW_DEPS:-$root/build/mingw-deps}"
stamp="$prefix/.complete"
# Bump when the recipe below changes, so an old prefix is rebuilt.
recipe=1

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
  exit 0
fi

jobs="$(nproc 2>/dev/null || echo 2)"
toolchain="$root/cmake/mingw-toolchain.cmake"
work="$(mktemp -d "${TMPDIR:-/tmp}/pallo-mingw-deps.XXXXXX")"
srclist=/etc/apt/sources.list.d/pallo-deb-src.sources
cleanup() {
  rm -rf "$work"
  if [ -f "$srclist" ]; then rm -f "$srclist"; fi
}
trap cleanup EXIT

sudo=()
if [ "$(id -u)" != 0 ]; then sudo=(sudo); fi

log() { printf '[mingw-deps] %s\n' "$*"; }

# Source packages: the machine's own Debian sources, as deb-src, in a file of our own.
ensure_deb_src() {
  if apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Version:'; then return 0; fi
  local base=/etc/apt/sources.list.d/debian.sources
  if [ ! -f "$base" ]; then
    echo "build-mingw-deps: $base not found; cannot derive source package lines" >&2
    exit 1
  fi
  sed 's/^Types:.*/Types: deb-src/' "$base" | "${sudo[@]}" tee "$srclist" >/dev/null
  log "apt-get update (deb-src)"
  "${sudo[@]}" apt-get update -qq
}

# Downloads the upstream tarball of source package $1 into the current directory.
# The newest listed version can be missing from the mirror: try each in turn.
fetch_orig() {
  local pkg="$1" v
  for v in $(apt-cache showsrc "$pkg" | awk '/^Version:/{print $2}' | sort -rV | uniq); do
    if apt-get source --download-only -qq "$pkg=$v" >/dev/null 2>&1; then
      ls ./*.orig.tar.* >/dev/null 2>&1 && return 0
    fi
    rm -f ./*
  done
  echo "build-mingw-deps: no version of source package $pkg could be downloaded" >&2
  exit 1
}

# Unpacks the .orig tarball in the current directory and prints the source folder.
unpack_orig() {
  local tarball
  tarball="$(ls ./*.orig.tar.* | head -n1)"
  tar -xf "$tarball"
  find . -mindepth 1 -maxdepth 1 -type d | head -n1
}

cmake_cross() { # source-dir build-dir [args...]
  local src="$1" bld="$2"; shift 2
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DPALLO_MINGW_DEPS="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$bld.log" 2>&1 \
    || { cat "$bld.log" >&2; exit 1; }
  cmake --build "$bld" -j "$jobs" >>"$bld.log" 2>&1 || { tail -n 50 "$bld.log" >&2; exit 1; }
  cmake --install "$bld" >>"$bld.log" 2>&1 || { tail -n 50 "$bld.log" >&2; exit 1; }
}

start=$SECONDS
rm -rf "$prefix"
mkdir -p "$prefix"
ensure_deb_src

log "libjpeg-turbo"
mkdir -p "$work/jpeg" && cd "$work/jpeg"
fetch_orig libjpeg-turbo
src="$(cd "$(unpack_orig)" && pwd)"
# A relative CMAKE_INSTALL_LIBDIR is resolved against the build tree here: give it whole.
cmake_cross "$src" "$work/jpeg-build" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF

log "libpng"
mkdir -p "$work/png" && cd "$work/png"
fetch_orig libpng1.6
src="$(cd "$(unpack_orig)" && pwd)"
cmake_cross "$src" "$work/png-build" -DCMAKE_INSTALL_LIBDIR=lib -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a \
  -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include

log "googletest"
cmake_cross /usr/src/googletest "$work/gtest-build" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF

for f in lib/libjpeg.a lib/libpng16.a lib/libgtest.a lib/libgtest_main.a include/jpeglib.h include/png.h; do
  if [ ! -f "$prefix/$f" ]; then echo "build-mingw-deps: $prefix/$f was not installed" >&2; exit 1; fi
done
echo "$recipe" >"$stamp"
log "done in $((SECONDS - start)) s: $prefix"
