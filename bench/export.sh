#!/usr/bin/env bash
# pallo-check --export of the full generated pack (make_full_pack: 10 x 99
# entries and two catalogs of 99, 316 px menu pictures, 256 px entries, about
# 120 MB) beside a plain `cp -r` of the same Img folder: the export reads and
# checks every picture by its header and structure, then streams them stored
# into one zip through a temporary file, reading each once more. Medians over
# the rounds, their ratio, and the export's peak memory (with GNU time).
#
#   bench/export.sh [ROUNDS]      (5 rounds unless given)
#
# Builds the release pallo-check and make_full_pack; the pack is made once
# into build/bench-pack (shared with bench/wine/latency.sh).
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
rounds="${1:-5}"

{ cmake --preset release && cmake --build --preset release --target pallo-check make_full_pack; } >/dev/null ||
  { echo "export: the release tools did not build" >&2; exit 1; }
# shellcheck source=bench/full_pack.sh
source bench/full_pack.sh
full_pack export || exit 1

work="$(mktemp -d "${TMPDIR:-/tmp}/pallo-export-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

exports=() copies=()
for ((r = 1; r <= rounds; r++)); do
  rm -rf "$work/out.zip" "$work/Img"
  start=$(now_ms)
  build/release/tools/check/pallo-check --export "$work/out.zip" "$pack" >/dev/null || { echo "export failed" >&2; exit 1; }
  exports+=($(($(now_ms) - start)))
  start=$(now_ms)
  cp -r "$pack/Img" "$work/Img"
  copies+=($(($(now_ms) - start)))
done
e=$(printf '%s\n' "${exports[@]}" | median)
c=$(printf '%s\n' "${copies[@]}" | median)
echo "pallo-check --export: median ${e} ms ($(du -m "$work/out.zip" | cut -f1) MB zip; runs: ${exports[*]})"
echo "cp -r Img:            median ${c} ms (runs: ${copies[*]})"
awk -v e="$e" -v c="$c" 'BEGIN {if (c > 0) printf "ratio export / copy:  %.2f\n", e / c}'
if [ -x /usr/bin/time ]; then
  rm -f "$work/out.zip"
  /usr/bin/time -v build/release/tools/check/pallo-check --export "$work/out.zip" "$pack" 2>&1 >/dev/null |
    awk -F': ' '/Maximum resident set size/ {printf "export peak memory:   %d MB\n", $2 / 1024}'
fi
