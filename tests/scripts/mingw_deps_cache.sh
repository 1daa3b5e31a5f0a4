#!/usr/bin/env bash
# scripts/build-mingw-deps.sh and its per-user cache, without building anything:
# the key follows the toolchain, a filled cache is linked and reused, a cache
# folder without its stamp (half made) is never used, PALLO_MINGW_DEPS wins.
set -euo pipefail

script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/build-mingw-deps.sh"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/pallo-deps-test.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A project folder of its own, so the real build/mingw-deps is left alone, and a
# cache folder of its own.
mkdir -p "$tmp/root/scripts" "$tmp/bin" "$tmp/other-cc"
cp "$script" "$tmp/root/scripts/"
link="$tmp/root/build/mingw-deps"
deps() { XDG_CACHE_HOME="$tmp/cache" bash "$tmp/root/scripts/build-mingw-deps.sh" "$@"; }

# Any attempt to fetch or build fails here.
for tool in apt-get apt-cache cmake; do
  printf '#!/bin/sh\necho "%s: not in this test" >&2\nexit 1\n' "$tool" >"$tmp/bin/$tool"
  chmod +x "$tmp/bin/$tool"
done
export PATH="$tmp/bin:$PATH"
unset PALLO_MINGW_DEPS

key="$(deps --key | sed -n 1p)"
[ "$(deps --key | sed -n 1p)" = "$key" ] || fail "the key differs between two runs"

# Another compiler version gives another key.
printf '#!/bin/sh\necho "x86_64-w64-mingw32-g++-posix (GCC) 99.1-posix"\n' >"$tmp/other-cc/x86_64-w64-mingw32-g++-posix"
chmod +x "$tmp/other-cc/x86_64-w64-mingw32-g++-posix"
[ "$(PATH="$tmp/other-cc:$PATH" deps --key | sed -n 1p)" != "$key" ] || fail "a new compiler version keeps the key"

# A cache folder without its stamp is not used: the script sets out to build.
cache="$tmp/cache/pallo/mingw-deps-$key"
mkdir -p "$cache/lib"
if deps >"$tmp/out" 2>&1; then fail "a cache folder without its stamp was used"; fi
[ ! -e "$link" ] || fail "build/mingw-deps points at a half-made cache"

# A filled cache is linked, nothing built.
echo "$key" >"$cache/.complete"
if deps >"$tmp/out" 2>&1; then
  [ "$(readlink "$link")" = "$(cd "$cache" && pwd -P)" ] || fail "build/mingw-deps -> $(readlink "$link"), not the cache"
else
  fail "a filled cache was not reused: $(cat "$tmp/out")"
fi

# PALLO_MINGW_DEPS names the prefix instead of the cache.
mkdir -p "$tmp/own"
echo "$key" >"$tmp/own/.complete"
if PALLO_MINGW_DEPS="$tmp/own" deps >"$tmp/out" 2>&1; then
  [ "$(readlink "$link")" = "$(cd "$tmp/own" && pwd -P)" ] || fail "build/mingw-deps -> $(readlink "$link"), not PALLO_MINGW_DEPS"
else
  fail "a filled PALLO_MINGW_DEPS was not used: $(cat "$tmp/out")"
fi

[ "$failures" = 0 ] && echo "mingw-deps cache: all checks passed"
[ "$failures" = 0 ]
