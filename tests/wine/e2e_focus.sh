#!/usr/bin/env bash
# End-to-end tests under Wine of a program that stays out of the game's way: a
# stand-in for the game (gamestandin.exe) is the foreground window with the
# keyboard focus, and stays so whatever the user does with the overlay and its
# rows; the hotkey of [Config] hides and shows every window of the program.
#
#   tests/wine/e2e_focus.sh [TEST...]      all tests, or the named ones
#
# Shared helpers, the session and the runner: tests/wine/e2e_lib.sh.

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

GAMESTANDIN="${GAMESTANDIN:-$root/build/windows/tests/wine/gamestandin.exe}"
if [ ! -f "$GAMESTANDIN" ]; then echo "e2e: $GAMESTANDIN is missing (build with scripts/build-windows.sh)" >&2; exit 100; fi

GAME_TITLE='Pallo test game'
X0=120 Y0=110 STEP=81
AT_ON_TOP=(10 84)
AT_BAR_Y=104
AT_COLLAPSE=(35 60)
AT_EDITORS=(35 148)

# focus_cfg [EXTRA_CONFIG_LINE]: one menu node with two children.
focus_cfg() {
  printf '%s\n' '[Config]' "X=$X0" "Y=$Y0" 'W=80' 'H=80' 'T=0' 'S=150' ${1:+"$1"} '' \
    '[1]' 'Name=Lands' 'Pic=m1.png' 'Title=大陆' 'In=' 'Link=0' '1=c1.png|子一|说明|0' '2=c2.png|子二|说明|0'
}

game_pid=""
game=""

# start_game [ARGS...]: starts the stand-in and waits until it is the
# foreground window with the focus in its edit box.
start_game() {
  ws_launch game_pid wine "$GAMESTANDIN" "$@" || return 1
  find_game_window || { fail "no window of the game stand-in"; return 1; }
  ws_poll 20 game_is_active || { fail "the game stand-in did not become the foreground window"; return 1; }
}

find_game_window() {
  _game() { game="$(xdotool search --all --onlyvisible --pid "$game_pid" --name "^$GAME_TITLE\$" 2>/dev/null | head -n1)"; [ -n "$game" ]; }
  ws_poll 30 _game
}

stop_game() {
  if [ -n "$game_pid" ]; then ws_stop_pid "$game_pid" 10; fi
  game_pid=""
}

# game_is_active: the foreground window is the game's, its edit box has the focus.
game_is_active() {
  local line
  line="$(inspect --foreground)"
  [ "$(field "$line" 5)" = "$GAME_TITLE" ] && [ "$(field "$line" 7)" = Edit ]
}

# expect_game_active AFTER: the game kept the activation and the focus.
expect_game_active() {
  game_is_active && return 0
  fail "after $1 the foreground is '$(inspect --foreground)', not the game's edit box"
  return 1
}

# start_focus_program [EXTRA_CONFIG_LINE]
start_focus_program() {
  make_run_dir "$(focus_cfg "${1:-}")" || return 1
  add_pictures Menu m1.png
  add_pictures Lands c1.png c2.png
  launch_program || return 1
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return 1; }
  wait_geometry "$overlay" "$X0 $Y0 70 70"
}

# ---------------------------------------------------------------- tests

# Every press, drag and click on the overlay, its rows and its panel leaves the
# game active with the keyboard focus; the node editor activates as usual.
_game_keeps_the_focus() {
  start_game || return
  start_focus_program || return
  expect_game_active "the program started"
  local menu child x=$X0 y=$Y0
  wait_window_at menu "$((X0 + STEP)) $Y0 70 70" "menu window 1" || return
  click "$menu" 35 35
  wait_window_at child "$X0 $((Y0 + STEP)) 70 70" "the node's first child" || return
  expect_game_active "a press on a menu picture"
  click "$child" 35 35
  expect_game_active "a press on a child's picture"

  drag_overlay 40 30
  x=$((X0 + 40)) y=$((Y0 + 30))
  wait_geometry "$overlay" "$x $y 70 70" || return
  wait_window_at menu "$((x + STEP)) $y 70 70" "menu window 1 after the drag" || return
  expect_game_active "a drag of the overlay"

  click "$overlay" 35 35 3
  wait_geometry "$overlay" "$x $y 70 210" || return
  expect_game_active "a right click opening the panel"

  wait_equal "bar position" 150 bar_position || return
  drag "$overlay" 28 "$AT_BAR_Y" 70 0
  wait_equal "bar position after dragging the thumb right" 255 bar_position || return
  expect_game_active "a drag of the translucency bar's thumb"
  click "$overlay" 25 "$AT_BAR_Y"
  wait_equal "bar position after a click in the trough" 240 bar_position || return
  expect_game_active "a click in the translucency bar's trough"

  click "$overlay" "${AT_ON_TOP[@]}"
  wait_equal "on-top box after a click" 1 overlay_control 置顶 8 || return
  wait_equal "on-top box enabled again" 1 overlay_control 置顶 7 || return
  expect_game_active "ticking 置顶"
  click "$overlay" "${AT_ON_TOP[@]}"
  wait_equal "on-top box after a second click" 0 overlay_control 置顶 8 || return
  expect_game_active "unticking 置顶"

  click "$overlay" "${AT_COLLAPSE[@]}"
  wait_geometry "$overlay" "$x $y 70 70" || return
  expect_game_active "a click on 收起选项"

  # The editors are windows to type in: they take the activation as usual.
  click "$overlay" 35 35 3
  wait_geometry "$overlay" "$x $y 70 210" || return
  click "$overlay" "${AT_EDITORS[@]}"
  local editor=""
  _editor_active() {
    editor="$(window_holding '<<改名')"
    [ -n "$editor" ] && [ "$(field "$(inspect --foreground)" 2)" = "$(field "$editor" 2)" ]
  }
  ws_poll 20 _editor_active || fail "the node editor is not the foreground window: '$(inspect --foreground)'"
}
test_game_keeps_the_focus() { _game_keeps_the_focus; stop_game; }

# Ctrl+Alt+P, pressed while the game holds the keyboard, hides every window of
# the program; pressed again it shows them where and as they were, and the game
# keeps the focus.
_hotkey_hides_and_shows() {
  start_game || return
  start_focus_program 'Hotkey=ctrl+alt+P' || return
  local menu child before
  wait_window_at menu "$((X0 + STEP)) $Y0 70 70" "menu window 1" || return
  click "$menu" 35 35
  wait_window_at child "$X0 $((Y0 + STEP)) 70 70" "the node's first child" || return
  before="$(visible_windows | sort)"
  [ "$(printf '%s\n' "$before" | wc -l)" = 4 ] || fail "expected the overlay, a menu window and two children: $before"

  # The key reaches Wine through the window under the pointer: the game's.
  xdotool mousemove --window "$game" 200 100
  ws_poll 5 pointer_over "$game" || true
  xdotool key ctrl+alt+p
  _none_shown() { [ -z "$(visible_windows)" ]; }
  ws_poll 15 _none_shown || { fail "still shown after the hotkey: $(visible_windows)"; return; }
  ws_alive "$pid" || { fail "pallo.exe ended"; return; }

  xdotool key ctrl+alt+p
  _as_before() { [ "$(visible_windows | sort)" = "$before" ]; }
  ws_poll 15 _as_before || { fail "after the second press: $(visible_windows | sort | tr '\n' ';'), expected $(printf '%s' "$before" | tr '\n' ';')"; return; }
  expect_game_active "the hotkey showed the windows again"
}
test_hotkey_hides_and_shows() { _hotkey_hides_and_shows; stop_game; }

# A hotkey that another program already holds: one message of ours at start-up,
# and the program starts as usual.
_hotkey_held_elsewhere() {
  start_game --hold 3 80 || return # MOD_ALT | MOD_CONTROL, 'P'
  start_program "$(focus_cfg 'Hotkey=Ctrl+Alt+P')" || return
  local box overlay_hwnd
  find_window box '^错误$' 30 || { fail "no message captioned 错误"; return; }
  overlay_hwnd="$(field "$(inspect --exe pallo.exe --hidden --title "$OVERLAY_TITLE" | head -n1)" 2)"
  answer_box "$overlay_hwnd" 错误 '快捷键 Ctrl+Alt+P 已被其他程序占用，显示和隐藏全部窗口的快捷键不可用。' OK || return
  find_window overlay "$OVERLAY_NAME" || fail "no overlay after the message"
}
test_hotkey_held_elsewhere() { _hotkey_held_elsewhere; stop_game; }

# ---------------------------------------------------------------- runner

e2e_run "$@" -- test_game_keeps_the_focus test_hotkey_hides_and_shows test_hotkey_held_elsewhere
