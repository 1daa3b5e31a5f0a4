#!/usr/bin/env bash
# End-to-end test of a pack exported for players under Wine: pallo-check.exe
# --export writes the demo pack with the programs into one zip; unzipped into a
# fresh folder, its pallo-check.exe finds the pack clean and its pallo.exe starts
# on it at the default place (the export leaves out X and Y). And the node
# editor's "导出分享包…" through the system's save-as dialog.
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

# The demo pack's overlay place (open_editor).
X0=200 Y0=150
AT_EXPORT=(86 120)

test_node_editor_button_exports_through_the_save_dialog() {
  local dialog target
  make_run_dir - || return
  cp -r "$DEMO/Cfg.ini" "$DEMO/Img" "$run_dir/"
  cp "$CHECK_EXE" "$run_dir/"
  launch_program || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return; }
  open_editor || return
  click "$editor" "${AT_EXPORT[@]}"
  find_window dialog '^导出分享包$' 30 || { fail "no save-as dialog after a click on 导出分享包…"; return; }
  target="$run_dir/shared.zip"
  xdotool key ctrl+a
  xdotool type --delay 20 "$(windows_path "$target")"
  xdotool key Return
  _written() { [ -f "$target" ]; }
  ws_poll 60 _written || { fail "no $target after the dialog"; return; }
  # The box names the file and the number of pictures; OK closes it.
  local listing ok
  _told() {
    listing="$(inspect --exe pallo.exe --title 导出分享包)"
    ok="$(control_line "$listing" OK)"
    [ -n "$ok" ]
  }
  ws_poll 30 _told || { fail "no message box after the export"; return; }
  grep -qF 'shared.zip\r\n其中有 67 张图片。' <<<"$listing" || fail "the box says: $listing"
  click_rect_centre "$(field "$ok" 4)"
  unzip -tq "$target" >/dev/null || fail "the zip does not test clean"
  unzip -Z1 "$target" | grep -qx 'pallo.exe' || fail "the zip holds no pallo.exe"
  unzip -Z1 "$target" | grep -qx 'pallo-check.exe' || fail "the zip holds no pallo-check.exe"
  [ "$(unzip -Z1 "$target" | grep -c '^Img/')" = 67 ] || fail "the zip holds $(unzip -Z1 "$target" | grep -c '^Img/') pictures, not 67"
}

e2e_run "$@" -- test_exported_zip_runs_where_unzipped test_node_editor_button_exports_through_the_save_dialog
