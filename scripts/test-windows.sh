#!/usr/bin/env bash
# The Windows build's tests: builds every target of the "windows" preset, runs its
# CTest suites under Wine, then the end-to-end tests of tests/wine/, all inside one
# Xvfb display and one wineserver. Prints a summary; exits non-zero on any failure.
# Every process it starts is stopped by pid and its temp folders are removed.
#   PALLO_E2E="e2e_rows e2e_dpi"   only these end-to-end suites (default: all)
#   PALLO_UNIT=0                   skip the CTest suites under Wine
#   PALLO_UNIT_ONLY="test_config"  only the CTest suites this regular expression names
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
unit_only=()
if [ -n "${PALLO_UNIT_ONLY:-}" ]; then unit_only=(-R "$PALLO_UNIT_ONLY"); fi
if [ "${PALLO_UNIT:-1}" != 0 ]; then ctest --preset windows -j 2 "${unit_only[@]}" || ctest_status=$?; fi
suites=$SECONDS

echo "== End-to-end tests under Wine"
# Screenshots of an earlier run would be mistaken for this one's.
rm -rf build/e2e-failures
# e2e_dpi changes the prefix's DPI, so it runs in a prefix and on a display of its own.
e2e_suites=(e2e e2e_rows e2e_options e2e_focus e2e_dist e2e_share e2e_editor e2e_catalog e2e_shared e2e_dpi)
if [ -n "${PALLO_E2E:-}" ]; then read -r -a e2e_suites <<<"$PALLO_E2E"; fi
declare -A e2e_result
e2e_status=0
for suite in "${e2e_suites[@]}"; do
  echo "-- tests/wine/$suite.sh"
  status=0
  PALLO_WINE_SESSION=1 bash "tests/wine/$suite.sh" || status=$?
  e2e_result[$suite]=$status
  [ "$status" = 0 ] || e2e_status=1
done
finished=$SECONDS

echo
echo "== Windows tests: build $((built - started)) s, suites $((suites - built)) s, end-to-end $((finished - suites)) s"
if [ "$ctest_status" = 0 ]; then echo "   unit suites under Wine: passed"; else echo "   unit suites under Wine: FAILED"; fi
for suite in "${e2e_suites[@]}"; do
  status=${e2e_result[$suite]}
  if [ "$status" = 0 ]; then
    printf '   end-to-end %-12s passed\n' "$suite:"
  else
    printf '   end-to-end %-12s FAILED (status %s; screenshots in build/e2e-failures/)\n' "$suite:" "$status"
  fi
done
[ "$ctest_status" = 0 ] && [ "$e2e_status" = 0 ]
