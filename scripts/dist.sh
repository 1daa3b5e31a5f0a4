#!/usr/bin/env bash
# `make dist`: the Windows release, build/dist/pallo-<version>-win64.zip. It holds
# one folder with pallo.exe, pallo-check.exe, the demo pack beside them (Cfg.ini
# and Img\, so the program starts on it) and README.txt (Chinese and English).
# The version is project(VERSION) of CMakeLists.txt, the one the version
# resource of pallo.exe carries.
#   scripts/dist.sh              builds the Windows programs first
#   scripts/dist.sh --no-build   packs the programs already in build/windows
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

if [ "${1:-}" != --no-build ]; then bash scripts/build-windows.sh; fi

version="$(sed -n 's/^project(Pallo VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)"
if [ -z "$version" ]; then
  echo "dist: no project(Pallo VERSION ...) in CMakeLists.txt" >&2
  exit 1
fi
name="pallo-$version-win64"
out="build/dist/$name.zip"

for f in build/windows/pallo.exe build/windows/pallo-check.exe examples/demo/Cfg.ini; do
  if [ ! -f "$f" ]; then echo "dist: $f is missing" >&2; exit 1; fi
done

stage="$(mktemp -d "${TMPDIR:-/tmp}/pallo-dist.XXXXXX")"
trap 'rm -rf "$stage"' EXIT
dir="$stage/$name"
mkdir -p "$dir"
cp build/windows/pallo.exe build/windows/pallo-check.exe "$dir/"
cp examples/demo/Cfg.ini "$dir/"
cp -r examples/demo/Img "$dir/"
# UTF-8 with a byte-order mark and CRLF line ends, so Notepad shows the Chinese.
{ printf '\xEF\xBB\xBF'; sed -e "s/@VERSION@/$version/" -e 's/$/\r/' scripts/dist-readme.txt; } >"$dir/README.txt"

# The same content gives the same zip: every file dated by the last commit,
# names in a fixed order, no extra attributes.
export TZ=UTC
stamp="$(git log -1 --format=%cd --date=format-local:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)"
find "$dir" -exec touch -h -t "$stamp" {} +
mkdir -p build/dist
rm -f "$out"
(cd "$stage" && find "$name" | LC_ALL=C sort | zip -q -X -D -@ "$root/$out")
echo "dist: $out ($(du -k "$out" | cut -f1) KiB)"
