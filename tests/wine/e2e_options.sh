#!/usr/bin/env bash
# End-to-end tests of the options panel under Wine: opening and collapsing it,
# the translucency bar, the on-top box, the node editor and donation window
# toggles, and the exit question with what it saves.
#
#   tests/wine/e2e_options.sh [TEST...]      all tests, or the named ones
#
# Shared helpers, the session and the runner: tests/wine/e2e_lib.sh.

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

# ---------------------------------------------------------------- content

# W = H = 80: the grid step (81) differs from the overlay's fixed 70, so a place
# computed from the overlay's size instead of W and H shows.
X0=120 Y0=110 STEP=81

# Where the panel's controls are, in the overlay's client coordinates.
AT_COLLAPSE=(35 60)     # "收起选项", over the lower part of the picture
AT_ON_TOP=(10 84)       # the box of "置顶"
# The translucency bar, 64 x 16 at 3,96: arrows at 3-19 and 50-66, a thumb 17
# wide that travels from 20 (position 15) to 33 (position 255).
AT_BAR_Y=104
AT_EDITORS=(35 148)     # "编辑配置"
AT_SUPPORT=(35 172)     # "支持作者"
AT_EXIT=(35 196)        # "退出程序"

# options_cfg T S: one menu node (so that row windows exist), a comment and a
# blank line that a save must keep.
options_cfg() {
  printf '%s\n' '; options test' '[Config]' "X=$X0" "Y=$Y0" 'W=80' 'H=80' "T=$1" "S=$2" '' \
    '[1]' 'Name=Lands' 'Pic=m1.png' 'Title=大陆' 'In=' 'Link=0' '1=c1.png|子|说明|0'
}

# start_options_program T S
start_options_program() {
  make_run_dir "$(options_cfg "$1" "$2")" || return 1
  add_pictures Menu m1.png
  launch_program || return 1
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return 1; }
  wait_geometry "$overlay" "$X0 $Y0 70 70"
}

open_panel() {
  click "$overlay" 35 35 3
  wait_geometry "$overlay" "$X0 $Y0 70 210"
}

# topmost_of "LEFT,TOP,WIDTH,HEIGHT": WS_EX_TOPMOST (1 or 0) of the program's
# window with that outer rectangle, hidden or not.
topmost_of() {
  inspect --exe pallo.exe --hidden | awk -F'\t' -v r="$1" '$1 == "window" && $4 == r {print $7; exit}'
}

# wait_label_colour WHAT AT_ARRAY_NAME green|black: waits until the overlay's
# label at that place (64 x 24 from its left, 3) is drawn in that colour.
wait_label_colour() {
  local what="$1" want="$3" left top
  local -n at="$2"
  read -r left top _ <<<"$(geometry "$overlay")"
  local y=$((top + at[1] - 12))
  _colour_is() {
    local n
    n="$(green_pixels $((left + 3)) "$y" 64 24)"
    if [ "$want" = green ]; then [ "$n" -gt 0 ]; else [ "$n" = 0 ]; fi
  }
  ws_poll 15 _colour_is && return 0
  fail "label $what is not $want"
  return 1
}

# menu_window VAR: the first menu window (a row window that is shown).
menu_window() { wait_window_at "$1" "$((X0 + STEP)) $Y0 70 70" "menu window 1"; }

# ---------------------------------------------------------------- tests

# A right click opens the panel (70 x 210, "收起选项" shown); a click on
# "收起选项" closes it again (70 x 70, the label hidden).
test_panel_open_and_collapse() {
  start_options_program 0 150 || return
  open_panel || return
  wait_equal '"收起选项" visible' 1 overlay_control 收起选项 6
  click "$overlay" "${AT_COLLAPSE[@]}"
  wait_geometry "$overlay" "$X0 $Y0 70 70" || return
  wait_equal '"收起选项" visible' 0 overlay_control 收起选项 6
}

# The translucency bar sets the alpha of the overlay and of every row window,
# hidden ones included: a drag of the thumb to the right end gives 255, a click
# in the trough left of the thumb one page (15) less.
test_translucency_bar() {
  start_options_program 0 15 || return
  local menu hidden
  menu_window menu || return
  # The first second-row window is built, hidden, under the overlay, soon after
  # the overlay shows.
  wait_window_at hidden "$X0 $((Y0 + STEP)) 70 70" "first second-row window" 15 --hidden || return
  open_panel || return
  wait_equal "bar position" 15 bar_position || return
  drag "$overlay" 28 "$AT_BAR_Y" 70 0
  wait_equal "bar position after dragging the thumb right" 255 bar_position
  wait_opacity "$overlay" 255 "overlay"
  wait_opacity "$menu" 255 "menu window"
  wait_opacity "$hidden" 255 "hidden second-row window"
  click "$overlay" 25 "$AT_BAR_Y"
  wait_equal "bar position after a click in the trough" 240 bar_position
  wait_opacity "$overlay" 240 "overlay"
  wait_opacity "$menu" 240 "menu window"
  wait_opacity "$hidden" 240 "hidden second-row window"
}

# "置顶" puts the overlay and the row windows on top, as Windows reports them
# (WS_EX_TOPMOST). Unticking takes the overlay off the top. (Wine 8 keeps an
# owned pop-up in the top-most band while the window just above its owner is
# there, so the row windows' style after unticking says nothing here.)
test_on_top_box() {
  start_options_program 0 150 || return
  local menu_rect="$((X0 + STEP)),$Y0,70,70" row2_rect="$X0,$((Y0 + STEP)),70,70"
  local overlay_rect="$X0,$Y0,70,210"
  open_panel || return
  wait_equal "on-top box" 0 overlay_control 置顶 8 || return
  wait_equal "overlay WS_EX_TOPMOST before" 0 topmost_of "$overlay_rect"
  wait_equal "menu window WS_EX_TOPMOST before" 0 topmost_of "$menu_rect"

  click "$overlay" "${AT_ON_TOP[@]}"
  wait_equal "on-top box after a click" 1 overlay_control 置顶 8
  wait_equal "overlay WS_EX_TOPMOST" 1 topmost_of "$overlay_rect"
  wait_equal "menu window WS_EX_TOPMOST" 1 topmost_of "$menu_rect"
  wait_equal "hidden second-row window WS_EX_TOPMOST" 1 topmost_of "$row2_rect"
  # The box is disabled while the windows change, then enabled again.
  wait_equal "on-top box enabled" 1 overlay_control 置顶 7 || return

  click "$overlay" "${AT_ON_TOP[@]}"
  wait_equal "on-top box after a second click" 0 overlay_control 置顶 8
  wait_equal "overlay WS_EX_TOPMOST after unticking" 0 topmost_of "$overlay_rect"
  wait_equal "on-top box enabled" 1 overlay_control 置顶 7
}

# T = 1 in Cfg.ini: the program starts on top, the box ticked.
test_on_top_from_settings() {
  start_options_program 1 150 || return
  open_panel || return
  wait_equal "on-top box" 1 overlay_control 置顶 8
  wait_equal "overlay WS_EX_TOPMOST" 1 topmost_of "$X0,$Y0,70,210"
  wait_equal "menu window WS_EX_TOPMOST" 1 topmost_of "$((X0 + STEP)),$Y0,70,70"
}

# "编辑配置" opens the node editor with its outer rectangle at X + W + 1,
# Y + H + 1; a second click closes it.
test_editor_toggle() {
  start_options_program 0 150 || return
  open_panel || return
  click "$overlay" "${AT_EDITORS[@]}"
  local win=""
  _editor_open() { win="$(window_holding '<<改名')"; [ -n "$win" ]; }
  ws_poll 20 _editor_open || { fail "no node editor after a click on 编辑配置"; return; }
  local rect
  rect="$(field "$win" 4)"
  [ "${rect%,*,*}" = "$((X0 + STEP)),$((Y0 + STEP))" ] ||
    fail "node editor's outer rectangle is $rect, expected it at $((X0 + STEP)),$((Y0 + STEP))"
  [ "$(control_line "$(inspect --exe pallo.exe)" 选择项目)" != "" ] || fail "node chooser does not read 选择项目"
  wait_label_colour 编辑配置 AT_EDITORS green
  click "$overlay" "${AT_EDITORS[@]}"
  _editor_closed() { [ -z "$(window_holding '<<改名')" ]; }
  ws_poll 20 _editor_closed || fail "node editor still shown after a second click on 编辑配置"
  wait_label_colour 编辑配置 AT_EDITORS black
}

# "支持作者" opens the donation window beside the overlay, on top; its "关闭"
# closes it.
test_donation_window() {
  start_options_program 0 150 || return
  open_panel || return
  click "$overlay" "${AT_SUPPORT[@]}"
  local win="" listing
  _donation_open() { win="$(window_holding 关闭)"; [ -n "$win" ]; }
  ws_poll 20 _donation_open || { fail "no donation window after a click on 支持作者"; return; }
  local rect
  rect="$(field "$win" 4)"
  [ "${rect%,*,*}" = "$((X0 + STEP)),$((Y0 + STEP))" ] ||
    fail "donation window's outer rectangle is $rect, expected it at $((X0 + STEP)),$((Y0 + STEP))"
  [ "$(field "$win" 7)" = 1 ] || fail "donation window is not on top (WS_EX_TOPMOST)"
  wait_label_colour 支持作者 AT_SUPPORT green
  listing="$(inspect --exe pallo.exe)"
  local text
  for text in '↑微信扫码↑' '↑支付宝扫码↑'; do
    [ -n "$(control_line "$listing" "$text")" ] || fail "donation window has no label $text"
  done
  click_rect_centre "$(field "$(control_line "$listing" 关闭)" 4)"
  _donation_closed() { [ -z "$(window_holding 关闭)" ]; }
  ws_poll 20 _donation_closed || fail "donation window still shown after 关闭"
  wait_label_colour 支持作者 AT_SUPPORT black
}

# ask_exit: clicks "退出程序" and waits for the question; checks its text and
# buttons and keeps its listing in $exit_box.
ask_exit() {
  local box
  click "$overlay" "${AT_EXIT[@]}"
  find_window box '^退出$' 20 || { fail "no box captioned 退出 after a click on 退出程序"; return 1; }
  exit_box="$(inspect --exe pallo.exe --title 退出)"
  [ -n "$(control_line "$exit_box" '是否退出本程序？')" ] || fail "the box does not ask 是否退出本程序？"
  [ -n "$(control_line "$exit_box" '&Yes')" ] && [ -n "$(control_line "$exit_box" '&No')" ] ||
    fail "the box has no Yes and No buttons"
}

# answer_exit BUTTON: clicks that button of the question ($exit_box).
answer_exit() {
  local line
  line="$(control_line "$exit_box" "$1")"
  [ -n "$line" ] || { fail "no button $1 in the box"; return 1; }
  click_rect_centre "$(field "$line" 4)"
}

# With a node's children showing, the panel opens over the place where the
# first child stood (rows two and three go), so "退出程序" asks the question.
test_panel_usable_over_open_rows() {
  start_options_program 0 150 || return
  local menu child
  wait_window_at menu "$((X0 + STEP)) $Y0 70 70" "menu window 1" || return
  click "$menu" 35 35
  wait_window_at child "$X0 $((Y0 + STEP)) 70 70" "the node's first child" || return
  open_panel || return
  _child_gone() { ! window_at child "$X0 $((Y0 + STEP)) 70 70"; }
  ws_poll 15 _child_gone || { fail "the child window still stands over the open panel"; return; }
  ask_exit || return
  answer_exit '&No'
}

# No at the exit question: the program runs on, Cfg.ini is unchanged to the
# byte, even after the overlay was moved.
test_exit_no_keeps_cfg() {
  start_options_program 0 150 || return
  cp "$run_dir/Cfg.ini" "$run_dir/Cfg.before"
  drag_overlay 150 130
  wait_geometry "$overlay" "$((X0 + 150)) $((Y0 + 130)) 70 70" || return
  click "$overlay" 35 35 3
  wait_geometry "$overlay" "$((X0 + 150)) $((Y0 + 130)) 70 210" || return
  ask_exit || return
  wait_label_colour 退出程序 AT_EXIT green
  answer_exit '&No' || return
  _box_gone() { ! xdotool search --all --onlyvisible --pid "$pid" --name '^退出$' >/dev/null 2>&1; }
  ws_poll 20 _box_gone || fail "the box is still shown after No"
  wait_label_colour 退出程序 AT_EXIT black
  ws_alive "$pid" || { fail "pallo.exe ended after No"; return; }
  cmp -s "$run_dir/Cfg.before" "$run_dir/Cfg.ini" || {
    fail "Cfg.ini changed after No:"
    diff "$run_dir/Cfg.before" "$run_dir/Cfg.ini" | sed 's/^/      /'
  }
}

# Yes at the exit question: the program ends and Cfg.ini holds the overlay's
# new X, Y, the on-top state and the translucency, every other byte as before.
test_exit_yes_saves_settings() {
  start_options_program 0 15 || return
  local x=$((X0 + 150)) y=$((Y0 + 130))
  drag_overlay 150 130
  wait_geometry "$overlay" "$x $y 70 70" || return
  click "$overlay" 35 35 3
  wait_geometry "$overlay" "$x $y 70 210" || return
  click "$overlay" "${AT_ON_TOP[@]}"
  wait_equal "on-top box" 1 overlay_control 置顶 8 || return
  # A click in the trough right of the thumb: one page up.
  click "$overlay" 44 "$AT_BAR_Y"
  wait_equal "bar position" 30 bar_position || return
  ask_exit || return
  answer_exit '&Yes' || return
  if ! ws_poll 20 ws_dead "$pid"; then fail "pallo.exe still runs after Yes"; return; fi
  wait "$pid" 2>/dev/null
  pid=""
  crlf_file "$(options_cfg 1 30 | sed "s/^X=$X0\$/X=$x/; s/^Y=$Y0\$/Y=$y/")" "$run_dir/Cfg.want"
  if ! cmp -s "$run_dir/Cfg.want" "$run_dir/Cfg.ini"; then
    fail "Cfg.ini after Yes differs from the expected bytes (< expected, > written):"
    diff "$run_dir/Cfg.want" "$run_dir/Cfg.ini" | cat -A | sed 's/^/      /'
  fi
}

# ---------------------------------------------------------------- runner

e2e_run "$@" -- test_panel_open_and_collapse test_translucency_bar test_on_top_box \
  test_on_top_from_settings test_editor_toggle test_donation_window test_panel_usable_over_open_rows \
  test_exit_no_keeps_cfg \
  test_exit_yes_saves_settings
