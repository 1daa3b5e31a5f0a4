#!/usr/bin/env bash
# The Windows build's tests: builds every target of the "windows" preset, runs its
# CTest suites under Wine, then the end-to-end tests of tests/wine/, all inside one
# Xvfb display and one wineserver. Prints a summary; exits non-zero on any failure.
# Every process it starts is stopped by pid and its temp folders are removed.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
started=$SECONDS

if ! bash scripts/build-windows.sh --all; then
  echo "test-windows: FAILED: the Windows build did not build" >&2
  exit 1
fi
built=$SECONDS

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
trap ws_cleanup EXIT
trap 'exit 130' INT TERM

ws_start_xvfb || exit 1
ws_temp_dir session
ws_use_prefix "$session/prefix" || exit 1
ws_start_wineserver || exit 1
# TMPDIR stays as it is: Wine finds its server's folder through it. The test
# programs' temporary folders are inside the prefix (Windows TEMP), so they go
# with the session folder.

echo "== Windows unit suites under Wine"
ctest_status=0
ctest --preset windows -j 2 || ctest_status=$?
suites=$SECONDS

echo "== End-to-end tests under Wine"
e2e_status=0
PALLO_WINE_SESSION=1 bash tests/wine/e2e.sh || e2e_status=$?
finished=$SECONDS

echo
echo "== Windows tests: build $((built - started)) s, suites $((suites - built)) s, end-to-end $((finished - suites)) s"
if [ "$ctest_status" = 0 ]; then echo "   unit suites under Wine: passed"; else echo "   unit suites under Wine: FAILED"; fi
if [ "$e2e_status" = 0 ]; then
  echo "   end-to-end:             passed"
else
  echo "   end-to-end:             FAILED ($e2e_status; screenshots in build/e2e-failures/)"
fi
[ "$ctest_status" = 0 ] && [ "$e2e_status" = 0 ]
