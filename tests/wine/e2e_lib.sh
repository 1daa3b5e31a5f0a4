# shellcheck shell=bash
# Shared part of the end-to-end tests of the real pallo.exe under Wine on a virtual
# display. A test file sources this, defines its test functions and ends with
#
#   e2e_run "$@" -- test_a test_b ...
#
# which runs the tests named on its command line, or all of them. Each test starts
# the program in a fresh run folder, drives it with xdotool and reads it with
# xwininfo, xprop and wininspect.exe (texts, states and z-order inside Windows).
#
# Inside scripts/test-windows.sh the tests use that script's display and Wine
# prefix (PALLO_WINE_SESSION=1); run alone a test file starts its own. A failing
# test leaves a screenshot and a window listing in build/e2e-failures/. Exit
# status of a test file: the number of failed tests (max 100).
#
# Every wait polls (ws_poll, every 50 ms) up to a timeout; nothing sleeps for a
# fixed time. Every process a test starts is stopped by its pid.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
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
OVERLAY_TITLE='Pallo By Vermack'
ALPHA_UNIT=16843009 # 0x01010101: Wine publishes layered alpha a as a * 0x01010101
DEMO="$root/examples/demo"

current_test=""
test_failed=0
run_dir=""
pid=""
overlay=""

fail() {
  echo "    FAIL: $*"
  test_failed=1
}

# ---------------------------------------------------------------- the program

# crlf_file TEXT PATH: writes TEXT with CRLF line ends (as Windows editors do).
crlf_file() { printf '%s' "$1" | sed 's/$/\r/' >"$2"; }

# make_run_dir CFG_TEXT: a fresh run folder ($run_dir) with pallo.exe and, unless
# CFG_TEXT is "-", a Cfg.ini holding CFG_TEXT (crlf_file).
make_run_dir() {
  local cfg="$1"
  ws_temp_dir run_dir
  cp "$PALLO_EXE" "$run_dir/pallo.exe"
  if [ "$cfg" != "-" ]; then crlf_file "$cfg" "$run_dir/Cfg.ini"; fi
}

# launch_program: starts $run_dir/pallo.exe from its folder; its pid is $pid.
launch_program() {
  cd "$run_dir" || return 1
  ws_launch pid wine "$run_dir/pallo.exe"
  cd "$root" || return 1
}

# start_program CFG_TEXT: make_run_dir and launch_program.
start_program() { make_run_dir "$1" && launch_program; }

# start_with_overlay CFG_TEXT: start_program, then waits for the overlay ($overlay).
start_with_overlay() {
  start_program "$1" || return 1
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return 1; }
}

stop_program() {
  if [ -n "$pid" ]; then ws_stop_pid "$pid" 10; fi
  pid=""
}

# The Windows form of a Linux path as Wine shows it (drive Z: is /).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# ---------------------------------------------------------------- waiting

# wait_equal WHAT WANT COMMAND...: polls until COMMAND prints WANT.
wait_equal() {
  local what="$1" want="$2" got=""
  shift 2
  local command=("$@")
  _prints_want() { got="$("${command[@]}")"; [ "$got" = "$want" ]; }
  ws_poll 15 _prints_want && return 0
  fail "$what is '$got', expected '$want'"
  return 1
}

# ---------------------------------------------------------------- X windows

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

# geometry WID: "left top width height" of an X window (a framed window's client area).
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

# wait_opacity WID ALPHA WHAT [TIMEOUT]: waits until the window's published alpha
# is ALPHA. Wine drops the property of a fully opaque window, so 255 is its absence.
wait_opacity() {
  local wid="$1" want=$(($2 * ALPHA_UNIT)) what="$3" timeout="${4:-15}"
  [ "$2" = 255 ] && want=""
  _opacity_is() { [ "$(opacity "$wid")" = "$want" ]; }
  ws_poll "$timeout" _opacity_is && return 0
  fail "$what: _NET_WM_WINDOW_OPACITY '$(opacity "$wid")', expected alpha $2 (${want:-no property})"
  return 1
}

# visible_windows [--hidden]: "WID LEFT TOP WIDTH HEIGHT" of each visible X
# window of the program (with --hidden, of each one, mapped or not; WID in
# decimal, as xdotool writes it). One xwininfo call for all: the top-level
# windows are children of the root (there is no window manager).
visible_windows() {
  local ids id hex="" only=--onlyvisible
  [ "${1:-}" = --hidden ] && only=""
  ids="$(xdotool search --all $only --pid "$pid" 2>/dev/null)" || return 0
  for id in $ids; do hex+="$(printf '0x%x' "$id")=$id "; done
  [ -n "$hex" ] || return 0
  xwininfo -root -children 2>/dev/null | awk -v ids="$hex" '
    BEGIN { n = split(ids, a, " "); for (i = 1; i <= n; i++) { split(a[i], kv, "="); dec[kv[1]] = kv[2] } }
    $1 ~ /^0x/ && ($1 in dec) {
      # 0x... "name": ("class" "Class")  WxH+x+y  +absx+absy
      g = $(NF - 1); split(g, s, /[x+-]/)
      split(substr($NF, 2), p, "+")
      print dec[$1], p[1], p[2], s[1], s[2]
    }'
}

# window_at VAR "LEFT TOP WIDTH HEIGHT" [--hidden]: a visible (or any) window of
# the program, not the overlay, with exactly that geometry, stored in VAR; fails
# when there is none.
window_at() {
  local _wa_found
  _wa_found="$(visible_windows "${3:-}" | awk -v want="$2" -v skip="${overlay:-none}" \
    '$1 != skip && ($2 " " $3 " " $4 " " $5) == want {print $1; exit}')"
  [ -n "$_wa_found" ] || return 1
  printf -v "$1" '%s' "$_wa_found"
}

# wait_window_at VAR "LEFT TOP WIDTH HEIGHT" WHAT [TIMEOUT] [--hidden]
wait_window_at() {
  local _ww_var="$1" _ww_want="$2" _ww_what="$3" _ww_timeout="${4:-15}" _ww_hidden="${5:-}"
  if ws_poll "$_ww_timeout" window_at "$_ww_var" "$_ww_want" "$_ww_hidden"; then return 0; fi
  fail "$_ww_what: no ${_ww_hidden:+hidden or }visible window at '$_ww_want' (left top width height)"
  return 1
}

# green_pixels LEFT TOP WIDTH HEIGHT: how many pixels of that screen rectangle
# are pure green (the colour of a label whose window is open). Layered alpha is
# not applied without a compositor, so the screen shows the colour as drawn.
green_pixels() {
  import -window root -crop "$3x$4+$1+$2" -depth 8 txt:- 2>/dev/null | grep -ci '#00FF00'
}

# ---------------------------------------------------------------- editors

# expect_cfg WHAT LINES...: Cfg.ini holds exactly these lines (written as the file was: crlf_file,
# the last line has no line feed).
expect_cfg() {
  local what="$1"
  shift
  crlf_file "$(printf '%s\n' "$@")" "$run_dir/Cfg.want"
  _cfg_is() { cmp -s "$run_dir/Cfg.want" "$run_dir/Cfg.ini"; }
  ws_poll 10 _cfg_is && return 0
  fail "Cfg.ini after $what differs from the expected bytes (< expected, > written):"
  diff "$run_dir/Cfg.want" "$run_dir/Cfg.ini" | cat -A | sed 's/^/      /'
  return 1
}

# answer_box OWNER_HWND CAPTION TEXT BUTTON: waits for the message box, checks its
# text and owner, and presses BUTTON.
answer_box() {
  local owner_hwnd="$1" caption="$2" text="$3" button="$4" listing line owner
  # shellcheck disable=SC2034  # find_window sets it; only its finding counts here
  local box
  find_window box "^$caption\$" 20 || { fail "no message box captioned $caption"; return 1; }
  listing="$(inspect --exe pallo.exe --title "$caption")"
  [ -n "$(control_line "$listing" "$text")" ] || {
    fail "the box $caption does not say '$text':"
    printf '%s\n' "$listing" | sed 's/^/      /'
  }
  owner="$(printf '%s\n' "$listing" | awk -F'\t' '$1 == "window" {print $8; exit}')"
  [ "$owner" = "$owner_hwnd" ] || fail "the box $caption belongs to $owner, not to $owner_hwnd"
  line="$(control_line "$listing" "$button")"
  [ -n "$line" ] || { fail "no button $button in the box $caption"; return 1; }
  click_rect_centre "$(field "$line" 4)"
  _box_gone() { ! xdotool search --all --onlyvisible --pid "$pid" --name "^$caption\$" >/dev/null 2>&1; }
  ws_poll 20 _box_gone || fail "the box $caption is still shown"
}

# focused_at XWIN X Y: whether the control with the keyboard focus holds the
# point X, Y of that X window's client area.
focused_at() {
  local ox oy
  read -r ox oy _ <<<"$(geometry "$1")"
  inspect --exe pallo.exe | awk -F'\t' -v x=$((ox + $2)) -v y=$((oy + $3)) '
    $1 == "control" && $9 == "1" { split($4, r, ","); if (x >= r[1] && x < r[1] + r[3] && y >= r[2] && y < r[2] + r[4]) found = 1 }
    END { exit !found }'
}

# focused_text: the text of the program's control that has the keyboard focus
# (a line break reads \r\n).
focused_text() { inspect --exe pallo.exe | awk -F'\t' '$1 == "control" && $9 == "1" {print $5; exit}'; }

# type_into XWIN X Y TEXT [SHOWN]: clicks the edit box at X, Y, waits until it
# has the keyboard focus (on a busy machine the keys would otherwise still reach
# the box before), selects all, types TEXT and waits until the box shows SHOWN
# (TEXT unless given), so a click that follows never overtakes the last keys.
# xdotool types a character the keyboard map lacks by remapping a spare key,
# and Wine now and then misses the second of two such characters in a row
# (甲一 arrives as 甲): the text is then typed again, up to three times.
type_into() {
  local shown="${5:-$4}" attempt
  click "$1" "$2" "$3"
  ws_poll 10 focused_at "$1" "$2" "$3" || fail "the box at $2,$3 did not take the focus"
  _shows_typed() { [ "$(focused_text)" = "$shown" ]; }
  for attempt in 1 2 3; do
    xdotool key ctrl+a
    xdotool type --delay 20 "$4"
    ws_poll 5 _shows_typed && return 0
  done
  fail "the box at $2,$3 shows '$(focused_text)' after typing, expected '$shown'"
  return 1
}

# ---------------------------------------------------------------- Win32 view

# inspect ARGS...: wininspect.exe's listing (see wininspect.cpp for the format).
inspect() { wine "$WININSPECT" "$@" 2>/dev/null | tr -d '\r'; }

# Fields of wininspect's lines (tab separated).
# window:  1 kind, 2 hwnd, 3 class, 4 rect, 5 title, 6 visible, 7 topmost, 8 owner
# control: 1 kind, 2 hwnd, 3 class, 4 rect, 5 text, 6 visible, 7 enabled, 8 value

# window_holding TEXT: the window lines (of the program's visible windows) that
# own a control with exactly that text.
window_holding() {
  inspect --exe pallo.exe | awk -F'\t' -v text="$1" '
    $1 == "window" {win = $0}
    $1 == "control" && $5 == text {print win}' | sort -u
}

# window_line TEXT VAR: waits for the program's window holding a control with
# exactly TEXT and stores its wininspect line in VAR.
window_line() {
  local _wl_text="$1" _wl_var="$2" _wl_line=""
  _wl_up() { _wl_line="$(window_holding "$_wl_text")"; [ -n "$_wl_line" ]; }
  ws_poll 20 _wl_up || { fail "no window shows '$_wl_text'"; return 1; }
  printf -v "$_wl_var" '%s' "$_wl_line"
}

# x_window_of HWND VAR: the X window (client area) of a framed window, found by
# its client origin and size.
x_window_of() {
  local _xw_hwnd="$1" _xw_var="$2" _xw_found=""
  _xw_find() {
    local rect l t w h
    rect="$(inspect --exe pallo.exe | awk -F'\t' -v h="$_xw_hwnd" '$1 == "window" && $2 == h {print $4}')"
    [ -n "$rect" ] || return 1
    IFS=, read -r l t w h <<<"$rect"
    # The frame is 3 pixels wide on each side, the caption above it.
    _xw_found="$(visible_windows | awk -v l=$((l + 3)) -v w=$((w - 6)) \
      '$2 == l && $4 == w {print $1; exit}')"
    [ -n "$_xw_found" ]
  }
  ws_poll 20 _xw_find || { fail "no X window for $_xw_hwnd"; return 1; }
  printf -v "$_xw_var" '%s' "$_xw_found"
}

# overlay_control TEXT FIELD: a field of the overlay's control with that text
# (5 text, 6 visible, 7 enabled, 8 value).
overlay_control() {
  field "$(control_line "$(inspect --exe pallo.exe --title "$OVERLAY_TITLE")" "$1")" "$2"
}

# bar_position: the translucency bar's position (the overlay's only scroll bar).
bar_position() {
  inspect --exe pallo.exe --title "$OVERLAY_TITLE" | awk -F'\t' '$1 == "control" && $3 == "ScrollBar" {print $8}'
}

# node_captions: "LEFT,TOP<TAB>CAPTION" for each visible node window of the
# program: where it stands and what its caption label says (the label over the
# lower part of the picture; the page sign stands at the top).
node_captions() { node_labels caption; }

# node_signs: "LEFT,TOP<TAB>SIGN" for each page sign shown.
node_signs() { node_labels sign; }

# node_labels caption|sign [SIZE]: node windows are SIZE squares (70 unless given).
node_labels() {
  inspect --exe pallo.exe | awk -F'\t' -v want="$1" -v n="${2:-70}" '
    $1 == "window" {split($4, r, ","); node = (r[3] == n && r[4] == n && $5 != "Pallo By Vermack"); place = r[1] "," r[2]; top = r[2]}
    $1 == "control" && node && $3 == "PalloLabel" {
      split($4, c, ","); kind = (c[2] - top < n * 0.4) ? "sign" : "caption"
      if (kind == want && (kind == "caption" || $6 == 1)) print place "\t" $5
    }'
}

# control_line LISTING TEXT: the first control line with exactly that text.
control_line() { printf '%s\n' "$1" | awk -F'\t' -v text="$2" '$1 == "control" && $5 == text {print; exit}'; }

# field LINE N
field() { printf '%s\n' "$1" | awk -F'\t' -v n="$2" '{print $n}'; }

# click_rect_centre "LEFT,TOP,WIDTH,HEIGHT" [BUTTON]: a click at the middle of a
# screen rectangle (wininspect's form).
click_rect_centre() {
  local l t w h
  IFS=, read -r l t w h <<<"$1"
  xdotool mousemove $((l + w / 2)) $((t + h / 2)) click "${2:-1}"
}

# pointer_over WID: whether the X window under the pointer is WID.
pointer_over() { [ "$(xdotool getmouselocation --shell 2>/dev/null | sed -n 's/^WINDOW=//p')" = "$1" ]; }

# click WID X Y [BUTTON]: a click at client coordinates of an X window. The
# pointer goes there first and the click waits until nothing covers the spot: a
# tooltip still standing there (the overlay's stands over the "置顶" box) would
# take the click; it hides when the pointer moves onto it.
click() {
  xdotool mousemove --window "$1" "$2" "$3"
  ws_poll 5 pointer_over "$1" || true
  xdotool click "${4:-1}"
}

# drag WID X Y DX DY: a left-button drag from client X,Y of an X window by DX, DY
# in two steps, the first of up to 10 pixels each way (which starts a native
# drag or a thumb's tracking), the pointer placed first as for click.
drag() {
  local fx=$(($4 < 10 ? $4 : 10)) fy=$(($5 < 10 ? $5 : 10))
  xdotool mousemove --window "$1" "$2" "$3"
  ws_poll 5 pointer_over "$1" || true
  xdotool mousedown 1 mousemove_relative -- "$fx" "$fy" mousemove_relative -- $(($4 - fx)) $(($5 - fy)) mouseup 1
}

# drag_window WID X Y DX DY: drags a window that moves with the pointer (the
# overlay's native drag) from client X,Y so that it ends DX, DY from where it
# stood. The move starts only once the program has taken the press, which a
# busy machine delays, and it sees the pointer only while the pointer is over
# one of its windows: so the pointer is nudged until the window follows, then
# led in steps of at most 10 pixels, each once the window has caught up.
drag_window() {
  local w="$1" dx="$4" dy="$5" l0 t0 l t sx sy i
  read -r l0 t0 _ <<<"$(geometry "$w")"
  xdotool mousemove --window "$w" "$2" "$3"
  ws_poll 5 pointer_over "$w" || true
  xdotool mousedown 1
  _dw_at() { read -r l t _ <<<"$(geometry "$w")"; [ "$l $t" = "$1 $2" ]; }
  _dw_not_at() { ! _dw_at "$1" "$2"; }
  for i in $(seq 1 20); do
    xdotool mousemove_relative -- 1 1
    ws_poll 1 _dw_not_at "$l0" "$t0" && break
  done
  read -r l t _ <<<"$(geometry "$w")"
  for i in $(seq 1 100); do
    [ "$l $t" = "$((l0 + dx)) $((t0 + dy))" ] && break
    sx=$((l0 + dx - l)); sy=$((t0 + dy - t))
    sx=$((sx > 10 ? 10 : sx < -10 ? -10 : sx)); sy=$((sy > 10 ? 10 : sy < -10 ? -10 : sy))
    xdotool mousemove_relative -- "$sx" "$sy"
    ws_poll 5 _dw_at $((l + sx)) $((t + sy)) || break
  done
  xdotool mouseup 1
}

# drag_overlay DX DY: drags the overlay by its picture.
drag_overlay() { drag_window "$overlay" 35 35 "$1" "$2"; }

# ---------------------------------------------------------------- pictures

# add_pictures SUBDIR NAME...: copies demo pictures into $run_dir/Img/SUBDIR under
# the given names (any of our own demo pictures serves: only presence matters).
add_pictures() {
  local sub="$1" name i=0
  shift
  local pool=("$DEMO"/Img/Maps/*.png)
  mkdir -p "$run_dir/Img/$sub"
  for name in "$@"; do
    cp "${pool[$((i % ${#pool[@]}))]}" "$run_dir/Img/$sub/$name"
    i=$((i + 1))
  done
}

# ---------------------------------------------------------------- runner

screenshot_on_failure() {
  [ "$test_failed" = 1 ] || return 0
  mkdir -p "$failures_dir"
  import -window root "$failures_dir/$current_test.png" 2>/dev/null &&
    echo "    screenshot: build/e2e-failures/$current_test.png"
  if [ -n "$pid" ]; then inspect --exe pallo.exe --hidden >"$failures_dir/$current_test.windows.txt" 2>/dev/null; fi
}

# e2e_run [TEST...] -- ALL_TESTS...: runs the named tests (all when none is named).
e2e_run() {
  local selected=() all=() t start
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do selected+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  all=("$@")
  if [ ${#selected[@]} -eq 0 ]; then selected=("${all[@]}"); fi

  local passed=0 failed_names=()
  for t in "${selected[@]}"; do
    if ! declare -F "$t" >/dev/null; then echo "e2e: no test named $t" >&2; failed_names+=("$t"); continue; fi
    current_test="$t"; test_failed=0; overlay=""
    # A screenshot of an earlier run would be mistaken for this one's.
    rm -f "$failures_dir/$t.png" "$failures_dir/$t.windows.txt"
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
  local n=${#failed_names[@]}
  return $((n > 100 ? 100 : n))
}

# ---------------------------------------------------------------- the node editor

# Where the node editor's controls are, in its client coordinates (its designed places).
AT_NODE_BOX=(40 10)
AT_RENAME=(105 9)
AT_ID=(488 10)
AT_SAVE=(539 10)
AT_ADD=(577 10)
AT_DELETE=(616 10)
AT_PICTURE=(528 32)
AT_NAME=(528 54)
AT_DESCRIPTION=(541 182)
AT_FIRST_ROW=(200 31)  # below the list's header, in the 图片 cell of its first row (whole rows select)

# open_editor: the options panel of $overlay, then "编辑配置"; sets $editor (the
# X window of its client area) and $editor_hwnd (its Win32 handle). A node
# editor of another program already open ($other_editor_hwnd) is not taken for it.
other_editor_hwnd=""
open_editor() {
  click "$overlay" 35 35 3
  wait_geometry "$overlay" "$X0 $Y0 70 210" || return 1
  click "$overlay" 35 148
  _editor_up() {
    editor_hwnd="$(window_holding '<<改名' | awk -F'\t' -v other="$other_editor_hwnd" '$2 != other {print $2; exit}')"
    [ -n "$editor_hwnd" ]
  }
  ws_poll 20 _editor_up || { fail "no node editor after a click on 编辑配置"; return 1; }
  _editor_x() {
    editor="$(visible_windows | awk '$4 == 640 && $5 == 240 {print $1; exit}')"
    [ -n "$editor" ]
  }
  ws_poll 20 _editor_x || { fail "no X window of 640 x 240 for the node editor"; return 1; }
}

# editor_has TEXT: whether one of the program's controls holds exactly TEXT.
editor_has() { [ -n "$(control_line "$(inspect --exe pallo.exe)" "$1")" ]; }

wait_editor_has() {
  _has() { editor_has "$1"; }
  ws_poll 15 _has "$1" && return 0
  fail "no control of the program shows '$1'"
  return 1
}

# choose_first_node: opens the main-node box and takes its first node from the
# keyboard (Down, Return), then waits until the form shows it (its m1.png).
choose_first_node() {
  click "$editor" "${AT_NODE_BOX[@]}"
  xdotool key --delay 100 Down Return
  wait_editor_has m1.png
}

# id_text: the text of $editor_hwnd's ID box (the edit box right of the list at the top).
id_text() {
  inspect --exe pallo.exe | awk -F'\t' -v want="$editor_hwnd" '
    $1 == "window" {mine = ($2 == want); split($4, w, ",")}
    $1 == "control" && mine && $3 == "Edit" {split($4, r, ","); if (r[1] - w[1] > 470 && r[1] - w[1] < 490 && r[2] - w[2] < 40) {print $5; exit}}'
}
