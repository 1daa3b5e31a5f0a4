#!/usr/bin/env bash
# End-to-end tests of the program on a scaled display under Wine: the prefix's
# DPI set to 144 (150 %) and 192 (200 %). Designs are in 96-DPI units and scaled
# by the factor: the overlay, the rows' windows and their spacing, the options
# panel and an editor; positions stay the screen pixels Windows reports, so a
# drag saves the overlay's screen position as X and Y.
#
#   tests/wine/e2e_dpi.sh [TEST...]      all tests, or the named ones
#
# It always runs in a Wine prefix and on a display of its own (a copy of the
# template, never the shared session's prefix): the DPI is a setting of the
# prefix. Each run leaves its screenshot in build/screenshot-dpi-<DPI>.png, to
# look at (captions whole, pictures sharp).

# The editors at 200 % are 1280 pixels wide.
export PALLO_SCREEN=1920x1200x24
unset PALLO_WINE_SESSION
# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

# set_dpi DPI: the prefix's DPI for the programs started from now on.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
    { fail "the prefix's DPI could not be set to $1"; return 1; }
  dpi=$1
}

# s LENGTH: a design length at $dpi, truncated toward zero.
s() { echo $(($1 * dpi / 96)); }

X0=120 Y0=110 SPACING=75

# Section 1: fifteen children (14 in the second row, the 15th in the third);
# section 2 a second menu picture.
dpi_cfg() {
  printf '%s\n' '[Config]' "X=$X0" "Y=$Y0" "W=$SPACING" "H=$SPACING" 'T=0' 'S=150' \
    '[1]' 'Name=Lands' 'Pic=m1.png' 'Title=大陆' 'In=' 'Link=0' 'Show=1'
  local i
  for i in $(seq 1 15); do printf '%s\n' "$i=c$i.png|子$i|说明$i|0"; done
  printf '%s\n' '[2]' 'Name=Kit' 'Pic=m2.png' 'Title=装备' 'In=' 'Link=0' 'Show=1' '1=k1.png|甲|一件|0'
}

# start_at DPI: the program on dpi_cfg at that DPI; sets the scaled sizes.
start_at() {
  set_dpi "$1" || return 1
  size=$(s 70) step=$(($(s SPACING) + $(s 1)))
  make_run_dir "$(dpi_cfg)" || return 1
  add_pictures Menu m1.png m2.png
  add_pictures Lands $(seq -f 'c%g.png' 1 15)
  launch_program || return 1
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return 1; }
  wait_geometry "$overlay" "$X0 $Y0 $size $size"
}

# scaled_captions: "LEFT,TOP<TAB>CAPTION" of each visible node window ($size
# square, not the overlay).
scaled_captions() { node_labels caption "$size" | sort; }

# expect_control_rect LISTING TEXT "LEFT,TOP,WIDTH,HEIGHT": the control with that
# text stands at that screen rectangle.
expect_control_rect() {
  local line
  line="$(control_line "$1" "$2")"
  [ "$(field "$line" 4)" = "$3" ] || fail "at $dpi DPI '$2' is at '$(field "$line" 4)', expected '$3'"
}

# One run at a DPI: the overlay and both rows at their scaled sizes and steps,
# with their captions; the options panel's controls; the node editor's client
# area, place and list. Leaves build/screenshot-dpi-<DPI>.png.
check_layout_at() {
  start_at "$1" || return
  local want i x menu
  want="$(printf '%s\t%s\n' "$((X0 + step)),$Y0" 大陆 "$((X0 + 2 * step)),$Y0" 装备 | sort)"
  wait_equal "the menu row at $dpi DPI" "$want" scaled_captions || return
  wait_window_at menu "$((X0 + step)) $Y0 $size $size" "menu window 1" || return
  click "$menu" "$(s 35)" "$(s 20)"
  want="$( {
    printf '%s\t%s\n' "$((X0 + step)),$Y0" 大陆 "$((X0 + 2 * step)),$Y0" 装备 "$X0,$((Y0 + 2 * step))" 子15
    # The windows that fit the 1920-pixel screen right of X0; the rest run on
    # left of the overlay.
    local fit=0
    while [ "$fit" -lt 14 ] && [ $((X0 + step * fit + size)) -le 1920 ]; do fit=$((fit + 1)); done
    for i in $(seq 1 14); do
      if [ "$i" -le "$fit" ]; then x=$((X0 + step * (i - 1))); else x=$((X0 - step * (i - fit))); fi
      printf '%s\t%s\n' "$x,$((Y0 + step))" "子$i"
    done
  } | sort)"
  wait_equal "the children at $dpi DPI" "$want" scaled_captions || return
  import -window root "$root/build/screenshot-dpi-$dpi.png"

  # The panel: the overlay three times as high, its controls at scaled places.
  click "$menu" "$(s 35)" "$(s 20)" 3
  click "$overlay" "$(s 35)" "$(s 35)" 3
  wait_geometry "$overlay" "$X0 $Y0 $size $(s 210)" || return
  local panel
  panel="$(inspect --exe pallo.exe --title 'Pallo By Vermack')"
  expect_control_rect "$panel" 置顶 "$((X0 + $(s 3))),$((Y0 + $(s 72))),$(($(s 67) - $(s 3))),$(($(s 96) - $(s 72)))"
  expect_control_rect "$panel" 退出程序 "$((X0 + $(s 3))),$((Y0 + $(s 184))),$(($(s 67) - $(s 3))),$(($(s 208) - $(s 184)))"

  # The node editor: one step right of and below the overlay, its client area
  # and its list scaled.
  click "$overlay" "$(s 35)" "$(s 148)"
  local editor_line rect ex ey ew eh cx cy editor list
  _editor_open() { editor_line="$(window_holding '<<改名')"; [ -n "$editor_line" ]; }
  ws_poll 20 _editor_open || { fail "no node editor at $dpi DPI"; return; }
  IFS=, read -r ex ey ew eh <<<"$(field "$editor_line" 4)"
  [ "$ex,$ey" = "$((X0 + step)),$((Y0 + step))" ] ||
    fail "at $dpi DPI the node editor stands at $ex,$ey, expected $((X0 + step)),$((Y0 + step))"
  editor="$(xdotool search --all --onlyvisible --pid "$pid" --name '' 2>/dev/null | while read -r w; do
    read -r cx cy cw ch <<<"$(geometry "$w")"
    [ "$cw $ch" = "$(s 640) $(s 240)" ] && echo "$w"
  done | head -n1)"
  [ -n "$editor" ] || fail "at $dpi DPI no window has the node editor's client area $(s 640) x $(s 240)"
  read -r cx cy _ <<<"$(geometry "${editor:-0}")"
  [ "$ew" -gt "$(s 640)" ] && [ "$eh" -gt "$(s 240)" ] || fail "the editor's frame is missing: $ew x $eh"
  list="$(inspect --exe pallo.exe | awk -F'\t' '$1 == "control" && $3 == "SysListView32" {print $4; exit}')"
  [ "$list" = "$((cx + $(s 136))),$((cy + $(s -1))),$(($(s 448) - $(s 136))),$(($(s 233) - $(s -1)))" ] ||
    fail "at $dpi DPI the editor's list is at '$list'"
}

test_layout_at_150_percent() { check_layout_at 144; }
test_layout_at_200_percent() { check_layout_at 192; }

# At 150 % the rows follow a drag by the scaled step, and the exit saves the
# overlay's screen position as X and Y, unscaled: the file means the same place
# to any program on any machine.
test_drag_saves_screen_position() {
  start_at 144 || return
  local menu
  wait_window_at menu "$((X0 + step)) $Y0 $size $size" "menu window 1" || return
  drag_window "$overlay" "$(s 35)" "$(s 35)" 150 130
  local x=$((X0 + 150)) y=$((Y0 + 130))
  wait_geometry "$overlay" "$x $y $size $size" || return
  wait_geometry "$menu" "$((x + step)) $y $size $size"
  click "$overlay" "$(s 35)" "$(s 35)" 3
  wait_geometry "$overlay" "$x $y $size $(s 210)" || return
  click "$overlay" "$(s 35)" "$(s 196)"
  answer_box "$(inspect --exe pallo.exe --title 'Pallo By Vermack' | awk -F'\t' '$1 == "window" {print $2; exit}')" \
    退出 是否退出本程序？ '&Yes' || return
  ws_poll 20 ws_dead "$pid" || { fail "the program did not end after Yes"; return; }
  pid=""
  grep -q "^X=$x"$'\r'"\$" "$run_dir/Cfg.ini" && grep -q "^Y=$y"$'\r'"\$" "$run_dir/Cfg.ini" ||
    { fail "Cfg.ini does not hold X=$x and Y=$y:"; sed 's/^/      /' "$run_dir/Cfg.ini" | head -4; }
}

# A saved place where the 70-pixel square would fit but the overlay at 200 %
# (140 pixels) would hang off the screen's right edge falls back to X=100.
test_scaled_overlay_starts_on_screen() {
  local X0=1800
  set_dpi 192 || return
  size=$(s 70)
  make_run_dir "$(dpi_cfg)" || return
  add_pictures Menu m1.png m2.png
  launch_program || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return; }
  wait_geometry "$overlay" "100 $Y0 $size $size"
}

# On Windows the manifest decides: without the declaration the system would
# stretch the program, blurred. (Wine treats every program as aware.)
test_manifest_declares_per_monitor_awareness() {
  grep -q 'PerMonitorV2, PerMonitor' "$PALLO_EXE" && grep -q 'true/pm' "$PALLO_EXE" ||
    fail "pallo.exe declares no per-monitor DPI awareness"
}

e2e_run "$@" -- test_manifest_declares_per_monitor_awareness test_layout_at_150_percent test_layout_at_200_percent \
  test_drag_saves_screen_position test_scaled_overlay_starts_on_screen
