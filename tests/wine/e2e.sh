#!/usr/bin/env bash
# End-to-end tests of start-up under Wine: the overlay's place, size and
# translucency from Cfg.ini, and a missing Cfg.ini. (Dragging: e2e_rows.sh.)
#
#   tests/wine/e2e.sh [TEST...]      all tests, or the named ones
#
# Shared helpers, the session and the runner: tests/wine/e2e_lib.sh.

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

# ---------------------------------------------------------------- tests

# Window settings from Cfg.ini: position, the fixed 70 x 70 size and translucency.
test_overlay_from_settings() {
  start_with_overlay $'[Config]\nX=250\nY=300\nS=200\n' || return
  wait_geometry "$overlay" "250 300 70 70"
  wait_opacity "$overlay" 200 "overlay"
}

# Out-of-range settings are corrected silently; in-range ones stay (the 70 x 70
# square wholly on the 1024 x 768 screen). One program
# per row: "X Y S" in Cfg.ini, then the expected geometry and alpha.
test_settings_corrected() {
  local rows=(
    "99 300 15|100 300 70 70|15"
    "250 769 14|250 100 70 70|150"
    "955 698 256|100 698 70 70|150"
  )
  local row cfg want alpha x y s got
  for row in "${rows[@]}"; do
    IFS='|' read -r cfg want alpha <<<"$row"
    read -r x y s <<<"$cfg"
    start_program "[Config]"$'\n'"X=$x"$'\n'"Y=$y"$'\n'"S=$s"$'\n' || return
    if find_window overlay "$OVERLAY_NAME"; then
      wait_geometry "$overlay" "$want" || echo "      (settings X=$x Y=$y S=$s)"
      got="$(opacity "$overlay")"
      [ "$got" = "$((alpha * ALPHA_UNIT))" ] ||
        fail "settings X=$x Y=$y S=$s: _NET_WM_WINDOW_OPACITY '$got', expected alpha $alpha"
    else
      fail "settings X=$x Y=$y S=$s: no visible overlay window"
    fi
    stop_program
  done
}

# Without Cfg.ini: a box "错误" names the missing file; after OK the overlay shows
# at the default place.
test_missing_cfg_reported() {
  start_program - || return
  local box
  find_window box '^错误$' || { fail "no visible message box captioned 错误"; return; }
  local want listing
  want="$(windows_path "$run_dir")\\Cfg.ini 配置文件不存在。"
  _box_text() {
    listing="$(inspect --exe pallo.exe --title 错误)"
    # wininspect writes a backslash as \\.
    printf '%s\n' "$listing" | awk -F'\t' '$1=="control" && $3=="Static" {print $5}' |
      grep -qxF -- "${want//\\/\\\\}"
  }
  if ! ws_poll 20 _box_text; then
    fail "message box text is not '$want'; the box reads:"
    printf '%s\n' "$listing" | sed 's/^/      /'
  fi
  if ! printf '%s\n' "$listing" | awk -F'\t' '$1=="control" && $3=="Button" {print $5}' | grep -qx 'OK'; then
    fail "message box has no OK button"
  fi
  # Keys go to the window under the pointer when there is no window manager.
  xdotool mousemove --window "$box" 10 10 key Return
  find_window overlay "$OVERLAY_NAME" 30 || { fail "no visible overlay after OK"; return; }
  wait_geometry "$overlay" "100 100 70 70"
  _box_gone() { ! xdotool search --all --onlyvisible --pid "$pid" --name '^错误$' >/dev/null 2>&1; }
  ws_poll 15 _box_gone || fail "the message box is still shown after Return"
}

# ---------------------------------------------------------------- runner

e2e_run "$@" -- test_overlay_from_settings test_settings_corrected test_missing_cfg_reported
