#!/usr/bin/env bash
# End-to-end test of a pack exported for players under Wine: pallo-check.exe
# --export writes the demo pack with the programs into one zip; unzipped into a
# fresh folder, its pallo-check.exe finds the pack clean and its pallo.exe starts
# on it at the default place (the export leaves out X and Y).
#
#   tests/wine/e2e_share.sh [TEST...]

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

CHECK_EXE="$(dirname "$PALLO_EXE")/pallo-check.exe"
if [ ! -f "$CHECK_EXE" ]; then echo "e2e_share: $CHECK_EXE is missing" >&2; exit 100; fi

# run_check OUT_FILE ARG...: runs pallo-check.exe from the current folder, its
# output in OUT_FILE; the result is its exit status (99 when it did not end).
run_check() {
  local out="$1" check_pid status=0
  shift
  ws_launch check_pid wine "$CHECK_EXE" "$@" >"$out" 2>&1
  if ! ws_poll 120 ws_dead "$check_pid"; then
    ws_stop_pid "$check_pid"
    return 99
  fi
  wait "$check_pid" || status=$?
  return "$status"
}

# ---------------------------------------------------------------- tests

test_exported_zip_runs_where_unzipped() {
  local work unpacked status=0 f
  ws_temp_dir work
  mkdir -p "$work/pack" "$work/bin"
  cp -r "$DEMO/Cfg.ini" "$DEMO/Img" "$work/pack/"
  cp "$PALLO_EXE" "$CHECK_EXE" "$work/bin/"

  cd "$work" || return
  run_check "$work/export.txt" --export "$(windows_path "$work/share.zip")" "$(windows_path "$work/pack")" \
    --with-exe "$(windows_path "$work/bin/pallo.exe")" || status=$?
  cd "$root" || return
  [ "$status" = 0 ] || { fail "pallo-check.exe --export ended with status $status: $(cat "$work/export.txt")"; return; }

  ws_temp_dir unpacked
  unzip -q "$work/share.zip" -d "$unpacked" || { fail "cannot unzip the exported pack"; return; }
  for f in pallo.exe pallo-check.exe Cfg.ini README.txt Img/Menu/maps.png; do
    [ -f "$unpacked/$f" ] || fail "the zip holds no $f"
  done
  cmp -s "$work/bin/pallo.exe" "$unpacked/pallo.exe" || fail "the zip's pallo.exe is not the program's"

  cd "$unpacked" || return
  run_check "$work/check.txt" || status=$?
  cd "$root" || return
  [ "$status" = 0 ] || fail "the unzipped pallo-check.exe ended with status $status"
  grep -q '0 errors, 0 warnings, 0 notes' "$work/check.txt" || fail "pallo-check.exe said: $(cat "$work/check.txt")"

  # Without X and Y in Cfg.ini the overlay stands at its default place.
  run_dir="$unpacked"
  launch_program || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return; }
  wait_geometry "$overlay" "100 100 70 70"
}

e2e_run "$@" -- test_exported_zip_runs_where_unzipped
