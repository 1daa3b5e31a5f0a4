#!/usr/bin/env bash
# End-to-end tests of the real pallo.exe under Wine on a virtual display: each test
# starts the program in a fresh run folder, drives it with xdotool and reads it with
# xwininfo, xprop and wininspect.exe (the texts inside controls).
#
#   tests/wine/e2e.sh [TEST...]      all tests, or the named ones
#
# Inside scripts/test-windows.sh it uses that script's display and Wine prefix
# (PALLO_WINE_SESSION=1); run alone it starts its own. A failing test leaves a
# screenshot in build/e2e-failures/. Exit status: the number of failed tests (max 100).
set -uo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
PALLO_EXE="${PALLO_EXE:-$root/build/windows/pallo.exe}"
WININSPECT="${WININSPECT:-$root/build/windows/tests/wine/wininspect.exe}"
failures_dir="$root/build/e2e-failures"

# shellcheck source=scripts/wine-session.sh
source "$root/scripts/wine-session.sh"
trap ws_cleanup EXIT
trap 'exit 130' INT TERM

for f in "$PALLO_EXE" "$WININSPECT"; do
  if [ ! -f "$f" ]; then echo "e2e: $f is missing (build with scripts/build-windows.sh)" >&2; exit 100; fi
done

if [ "${PALLO_WINE_SESSION:-0}" != 1 ]; then
  ws_start_xvfb || exit 100
  ws_temp_dir session
  ws_use_prefix "$session/prefix" || exit 100
  ws_start_wineserver || exit 100
fi

OVERLAY_NAME='^Pallo By Vermack$'
ALPHA_UNIT=16843009 # 0x01010101: Wine publishes layered alpha a as a * 0x01010101

# ---------------------------------------------------------------- helpers

current_test=""
test_failed=0
run_dir=""
pid=""

fail() {
  echo "    FAIL: $*"
  test_failed=1
}

# start_program CFG_TEXT: a run folder with pallo.exe and, unless CFG_TEXT is "-",
# a Cfg.ini holding CFG_TEXT (LF line ends become CRLF); starts the program.
start_program() {
  local cfg="$1"
  ws_temp_dir run_dir
  cp "$PALLO_EXE" "$run_dir/pallo.exe"
  if [ "$cfg" != "-" ]; then printf '%s' "$cfg" | sed 's/$/\r/' >"$run_dir/Cfg.ini"; fi
  cd "$run_dir" || return 1
  ws_launch pid wine "$run_dir/pallo.exe"
  cd "$root" || return 1
}

stop_program() {
  if [ -n "$pid" ]; then ws_stop_pid "$pid" 10; fi
  pid=""
}

# The Windows form of a Linux path as Wine shows it (drive Z: is /).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# find_window VAR NAME_REGEX [TIMEOUT]: the visible window of the program with that name.
find_window() {
  local _fw_var="$1" _fw_name="$2" _fw_timeout="${3:-60}" _fw_found=""
  _find() {
    _fw_found="$(xdotool search --all --onlyvisible --pid "$pid" --name "$_fw_name" 2>/dev/null | head -n1)"
    [ -n "$_fw_found" ]
  }
  if ws_poll "$_fw_timeout" _find; then
    printf -v "$_fw_var" '%s' "$_fw_found"
    return 0
  fi
  return 1
}

# geometry WID: "left top width height" of an X window.
geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ {x=$NF} /Absolute upper-left Y:/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF}
    END {print x, y, w, h}'
}

# wait_geometry WID "X Y W H" [TIMEOUT]
wait_geometry() {
  local wid="$1" want="$2" timeout="${3:-15}"
  _at() { [ "$(geometry "$wid")" = "$want" ]; }
  if ws_poll "$timeout" _at; then return 0; fi
  fail "window $wid at '$(geometry "$wid")', expected '$want' (left top width height)"
  return 1
}

opacity() { xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk -F' = ' '/=/{print $2}'; }

# visible windows of the program (X ids), not counting the overlay.
other_windows_at() { # WANT_GEOMETRY
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null); do
    [ "$w" = "${overlay:-}" ] && continue
    if [ "$(geometry "$w")" = "$1" ]; then echo "$w"; return 0; fi
  done
  return 1
}

# inspect ARGS...: wininspect.exe's listing (see wininspect.cpp for the format).
inspect() { wine "$WININSPECT" "$@" 2>/dev/null | tr -d '\r'; }

screenshot_on_failure() {
  [ "$test_failed" = 1 ] || return 0
  mkdir -p "$failures_dir"
  import -window root "$failures_dir/$current_test.png" 2>/dev/null &&
    echo "    screenshot: build/e2e-failures/$current_test.png"
  if [ -n "$pid" ]; then inspect --exe pallo.exe >"$failures_dir/$current_test.windows.txt" 2>/dev/null; fi
}

# ---------------------------------------------------------------- tests

# Window settings from Cfg.ini: position, the fixed 70 x 70 size and translucency.
test_overlay_from_settings() {
  start_program $'[Config]\nX=250\nY=300\nS=200\n' || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return; }
  wait_geometry "$overlay" "250 300 70 70"
  local want=$((200 * ALPHA_UNIT)) got
  got="$(opacity "$overlay")"
  [ "$got" = "$want" ] || fail "_NET_WM_WINDOW_OPACITY is '$got', expected $want (alpha 200)"
}

# Out-of-range settings are corrected silently; in-range ones stay. One program
# per row: "X Y S" in Cfg.ini, then the expected geometry and alpha.
test_settings_corrected() {
  local rows=(
    "99 300 15|100 300 70 70|15"
    "250 769 14|250 100 70 70|150"
    "1025 700 256|100 700 70 70|150"
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

# Dragging the overlay with the left button moves it by the dragged distance, and
# the menu row follows it.
test_drag_moves_overlay_and_row() {
  start_program $'[Config]\nX=250\nY=300\n[1]\nName=ab\nPic=menu.png\nTitle=T\nShow=1\nLink=0\n' || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return; }
  wait_geometry "$overlay" "250 300 70 70" || return
  # The first menu window stands one step (W + 1) right of the overlay.
  local node="" _n
  _menu_at() { node="$(other_windows_at "$1")"; }
  if ! ws_poll 15 _menu_at "321 300 70 70"; then
    fail "no menu window at 321,300 (70 x 70)"
  fi
  xdotool mousemove --window "$overlay" 35 35 mousedown 1 mousemove_relative 10 10 \
    mousemove_relative 140 120 mouseup 1
  wait_geometry "$overlay" "400 430 70 70"
  if [ -n "$node" ]; then wait_geometry "$node" "471 430 70 70"; fi
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

all_tests=(test_overlay_from_settings test_settings_corrected test_drag_moves_overlay_and_row
  test_missing_cfg_reported)
selected=("$@")
if [ ${#selected[@]} -eq 0 ]; then selected=("${all_tests[@]}"); fi

# Screenshots of an earlier run would be mistaken for this one's.
rm -rf "$failures_dir"
passed=0
failed_names=()
for t in "${selected[@]}"; do
  if ! declare -F "$t" >/dev/null; then echo "e2e: no test named $t" >&2; failed_names+=("$t"); continue; fi
  current_test="$t"; test_failed=0; overlay=""; node=""
  start=$SECONDS
  echo "  RUN  $t"
  "$t"
  if [ -n "$pid" ] && ws_dead "$pid"; then fail "pallo.exe ended unexpectedly"; fi
  screenshot_on_failure
  stop_program
  if [ "$test_failed" = 0 ]; then
    echo "  PASS $t ($((SECONDS - start)) s)"
    passed=$((passed + 1))
  else
    echo "  FAIL $t ($((SECONDS - start)) s)"
    failed_names+=("$t")
  fi
done

echo "e2e: ${passed} passed, ${#failed_names[@]} failed${failed_names:+: ${failed_names[*]}}"
n=${#failed_names[@]}
exit $((n > 100 ? 100 : n))
