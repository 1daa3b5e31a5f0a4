#!/usr/bin/env bash
# The static third-party libraries of the Windows build: libpng, libjpeg-turbo and
# libzip from Debian's source packages, GoogleTest from /usr/src/googletest.
#
# They are built once per user and toolchain into a cache,
#   ${XDG_CACHE_HOME:-~/.cache}/pallo/mingw-deps-<key>
# where <key> is a hash of the recipe number, the library versions and the mingw
# toolchain's versions, and every clone links build/mingw-deps to it. A cache
# folder appears whole (installed into a staging folder, then renamed) and is
# never changed afterwards; one build per key runs at a time (a lock beside it),
# so builds started together share the first one's work. PALLO_MINGW_DEPS names
# another prefix instead of the cache (built there the same way when incomplete).
#
# The sources come through a private apt configuration (its own sources list,
# lists and cache folders in a temp folder): nothing machine-wide is written or
# locked, so builds beside each other and beside other apt users do not collide.
#
#   scripts/build-mingw-deps.sh          makes sure the libraries exist, links build/mingw-deps
#   scripts/build-mingw-deps.sh --key    prints the cache key and what it is made of
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# Bump when the recipe below changes, so a new cache folder is built.
recipe=3
triple=x86_64-w64-mingw32
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/pallo"
link="$root/build/mingw-deps"

log() { printf '[mingw-deps] %s\n' "$*"; }
die() { printf 'build-mingw-deps: %s\n' "$*" >&2; exit 1; }

# The installed version of package $1, or "none".
pkg_version() {
  dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo none
}

# The upstream part of a Debian version: no epoch, no Debian revision.
upstream() {
  local v="${1#*:}"
  printf '%s\n' "${v%-*}"
}

# What the libraries depend on, one item a line: the recipe, the upstream versions
# of libpng, libjpeg-turbo and libzip (those of the native -dev packages, which come from
# the same source packages), GoogleTest as Debian ships it, and the toolchain.
key_text() {
  local tool p
  echo "recipe $recipe"
  echo "libpng1.6 $(upstream "$(pkg_version libpng-dev)")"
  echo "libjpeg-turbo $(upstream "$(pkg_version libjpeg62-turbo-dev)")"
  echo "libzip $(upstream "$(pkg_version libzip-dev)")"
  echo "googletest $(pkg_version googletest)"
  for tool in "$triple-gcc-posix" "$triple-g++-posix"; do
    echo "$tool $("$tool" --version 2>/dev/null | sed -n 1p || echo none)"
  done
  for p in gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libz-mingw-w64-dev nasm; do
    echo "$p $(pkg_version "$p")"
  done
}

text="$(key_text)"
key="$(printf '%s\n' "$text" | sha256sum | cut -c1-16)"
if [ "${1:-}" = --key ]; then
  echo "$key"
  printf '%s\n' "$text" | sed 's/^/  /'
  exit 0
fi

prefix="${PALLO_MINGW_DEPS:-$cache_root/mingw-deps-$key}"
stamp="$prefix/.complete"

complete() { [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ]; }

# Points build/mingw-deps at the prefix (a symbolic link replaced in one rename),
# unless the prefix is build/mingw-deps itself.
link_prefix() {
  local target tmp
  target="$(cd "$prefix" && pwd -P)"
  if [ -e "$link" ] && [ ! -L "$link" ] && [ "$(cd "$link" && pwd -P)" = "$target" ]; then return 0; fi
  mkdir -p "$(dirname "$link")"
  # A folder left by earlier versions, which built the libraries in place.
  if [ -d "$link" ] && [ ! -L "$link" ]; then rm -rf "$link"; fi
  tmp="$link.new.$$"
  ln -sfn "$target" "$tmp"
  mv -T "$tmp" "$link"
}

if complete; then
  link_prefix
  exit 0
fi

# One build per prefix at a time; a second one waits, then finds it complete.
mkdir -p "$(dirname "$prefix")"
exec {lock_fd}>"$prefix.lock"
if ! flock -n "$lock_fd"; then
  log "another build is making $prefix; waiting for it"
  flock -w 1800 "$lock_fd" || die "gave up waiting for the lock $prefix.lock"
fi
if complete; then
  link_prefix
  exit 0
fi

jobs="$(nproc 2>/dev/null || echo 2)"
toolchain="$root/cmake/mingw-toolchain.cmake"
work="$(mktemp -d "${TMPDIR:-/tmp}/pallo-mingw-deps.XXXXXX")"
# Staging folders of builds that were killed; the lock says none is running.
rm -rf "$prefix".staging.*
stage="$(mktemp -d "$prefix.staging.XXXXXX")"
cleanup() { rm -rf "$work" "$stage"; }
trap cleanup EXIT
# apt drops to its own user for downloads; it must reach the folders.
chmod 755 "$work"

# ---------------------------------------------------------------- sources

# The machine's own Debian sources, as deb-src, in a private apt configuration.
apt_dir="$work/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  apt_list="$apt_dir/src.sources"
  sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$apt_list"
elif grep -q '^deb ' /etc/apt/sources.list 2>/dev/null; then
  apt_list="$apt_dir/src.list"
  sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt_list"
else
  die "no Debian sources in /etc/apt/sources.list.d/debian.sources or /etc/apt/sources.list"
fi
apt_opts=(-o "Dir::Etc::SourceList=$apt_list" -o Dir::Etc::SourceParts=/nonexistent
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")

# The upstream tarball in the current folder (not its .asc signature), if any.
orig_tarball() {
  local f
  for f in ./*.orig.tar.*; do
    case "$f" in *.asc) ;; *) [ -f "$f" ] && { echo "$f"; return 0; } ;; esac
  done
  return 1
}

# Downloads the upstream tarball of source package $1 into the current folder,
# preferring versions whose upstream part is $2. The newest listed version can be
# missing from the mirror, and its .dsc can fail while the tarball arrives: try
# each in turn until a readable tarball is here. Prints the version it took.
fetch_orig() {
  local pkg="$1" want="$2" v tarball same=() other=()
  while read -r v; do
    [ -n "$v" ] || continue
    if [ "$(upstream "$v")" = "$want" ]; then same+=("$v"); else other+=("$v"); fi
  done < <(apt-cache "${apt_opts[@]}" showsrc "$pkg" | awk '/^Version:/{print $2}' | sort -rV | uniq)
  for v in "${same[@]}" "${other[@]}"; do
    apt-get "${apt_opts[@]}" source --download-only -qq "$pkg=$v" >/dev/null 2>&1 || true
    if tarball="$(orig_tarball)" && tar -tf "$tarball" >/dev/null 2>&1; then
      echo "$v"
      return 0
    fi
    rm -rf ./*
  done
  die "no version of source package $pkg could be downloaded"
}

# Unpacks the .orig tarball in the current folder and prints the source folder.
unpack_orig() {
  tar -xf "$(orig_tarball)"
  find . -mindepth 1 -maxdepth 1 -type d -print -quit
}

# ---------------------------------------------------------------- build

# Configures and builds for the final prefix, installs under the staging folder.
cmake_cross() { # source-dir build-dir [args...]
  local src="$1" bld="$2"; shift 2
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DPALLO_MINGW_DEPS="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$bld.log" 2>&1 \
    || { cat "$bld.log" >&2; exit 1; }
  cmake --build "$bld" -j "$jobs" >>"$bld.log" 2>&1 || { tail -n 50 "$bld.log" >&2; exit 1; }
  DESTDIR="$stage" cmake --install "$bld" >>"$bld.log" 2>&1 || { tail -n 50 "$bld.log" >&2; exit 1; }
}

start=$SECONDS
log "building into $prefix (key $key)"
log "apt-get update (private deb-src lists)"
apt-get "${apt_opts[@]}" update -qq >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; die "apt-get update failed"; }

log "libjpeg-turbo"
mkdir -p "$work/jpeg" && cd "$work/jpeg"
jpeg_version="$(fetch_orig libjpeg-turbo "$(upstream "$(pkg_version libjpeg62-turbo-dev)")")"
src="$(cd "$(unpack_orig)" && pwd)"
# A relative CMAKE_INSTALL_LIBDIR is resolved against the build tree here: give it whole.
cmake_cross "$src" "$work/jpeg-build" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF

log "libpng"
mkdir -p "$work/png" && cd "$work/png"
png_version="$(fetch_orig libpng1.6 "$(upstream "$(pkg_version libpng-dev)")")"
src="$(cd "$(unpack_orig)" && pwd)"
cmake_cross "$src" "$work/png-build" -DCMAKE_INSTALL_LIBDIR=lib -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
  -DZLIB_LIBRARY="/usr/$triple/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="/usr/$triple/include"

log "libzip"
mkdir -p "$work/zip" && cd "$work/zip"
zip_version="$(fetch_orig libzip "$(upstream "$(pkg_version libzip-dev)")")"
src="$(cd "$(unpack_orig)" && pwd)"
# Deflate through the toolchain's static zlib only: no other codec, no
# encryption, no tools, tests, examples or manual pages.
cmake_cross "$src" "$work/zip-build" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF \
  -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF -DENABLE_GNUTLS=OFF \
  -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
  -DZLIB_LIBRARY="/usr/$triple/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="/usr/$triple/include"

log "googletest"
cmake_cross /usr/src/googletest "$work/gtest-build" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF

built="$stage$prefix"
for f in lib/libjpeg.a lib/libpng16.a lib/libzip.a lib/libgtest.a lib/libgtest_main.a include/jpeglib.h include/png.h \
  include/zip.h include/zipconf.h; do
  [ -f "$built/$f" ] || die "$prefix/$f was not installed"
done
{ printf '%s\n' "$text"; echo "built: libjpeg-turbo $jpeg_version, libpng1.6 $png_version, libzip $zip_version"; } >"$built/.key"
echo "$key" >"$built/.complete"

# Whole or not at all: a folder without the stamp (from an earlier version or an
# interrupted override build) goes first; the rename is atomic.
if [ -e "$prefix" ]; then rm -rf "$prefix"; fi
mv -T "$built" "$prefix"
link_prefix
log "done in $((SECONDS - start)) s: libjpeg-turbo $jpeg_version, libpng1.6 $png_version, libzip $zip_version"
