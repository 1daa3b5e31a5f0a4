#!/usr/bin/env bash
# End-to-end test of the release zip under Wine: unzipped into a fresh folder, its
# pallo.exe starts on the demo pack beside it and its pallo-check.exe finds that
# pack clean. Packs the zip from the programs in build/windows first
# (scripts/dist.sh --no-build).
#
#   tests/wine/e2e_dist.sh [TEST...]

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

if ! bash "$root/scripts/dist.sh" --no-build >/dev/null; then
  echo "e2e_dist: scripts/dist.sh failed" >&2
  exit 100
fi
version="$(sed -n 's/^project(Pallo VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
ZIP="$root/build/dist/pallo-$version-win64.zip"

# ---------------------------------------------------------------- tests

test_zip_runs_on_its_demo_pack() {
  local unpacked check_pid status=0 out
  ws_temp_dir unpacked
  unzip -q "$ZIP" -d "$unpacked" || { fail "cannot unzip $ZIP"; return; }
  run_dir="$unpacked/pallo-$version-win64"
  for f in pallo.exe pallo-check.exe Cfg.ini Img/Menu README.txt; do
    [ -e "$run_dir/$f" ] || fail "the zip holds no $f"
  done

  # The demo's settings put the overlay at 200,150 (without them: 100,100).
  launch_program || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return; }
  wait_geometry "$overlay" "200 150 70 70"

  out="$unpacked/check.txt"
  cd "$run_dir" || return
  ws_launch check_pid wine pallo-check.exe >"$out" 2>/dev/null
  cd "$root" || return
  if ! ws_poll 120 ws_dead "$check_pid"; then
    fail "pallo-check.exe did not end"
    ws_stop_pid "$check_pid"
    return
  fi
  wait "$check_pid" || status=$?
  [ "$status" = 0 ] || fail "pallo-check.exe ended with status $status on the demo pack"
  grep -q '0 errors, 0 warnings, 0 notes' "$out" || fail "pallo-check.exe said: $(cat "$out")"
}

e2e_run "$@" -- test_zip_runs_on_its_demo_pack
