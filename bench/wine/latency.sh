#!/usr/bin/env bash
# Start-up and first-press latency of pallo.exe under Wine, each beside its
# baseline, measured on the X server (xlatency: MapNotify timestamps, clicks
# through XTest) on a full content pack (make_full_pack: 10 x 99 entries,
# 316 px menu pictures, 256 px entries):
#
#   start-up:    launch -> overlay mapped, beside launch -> window mapped of
#                bare_window.exe (one layered 70 x 70 pop-up and nothing else);
#   first press: press on menu picture 1 -> its 28 entries mapped, the first
#                time, beside the same press again (everything decoded);
#   page turn:   the press on the shown menu picture once more -> entries
#                29-56 mapped in the same windows (decoded ahead while idle).
#
# Each round runs the bare program, then the program: it waits until the
# program is idle (no CPU time used for 0.5 s), presses the menu picture,
# hides the rows with the right button, waits until idle again, presses
# again, waits until idle, presses once more (the next page), then presses
# every menu picture in turn (each waited for until idle) and reads the
# program's private memory (RssAnon, what Wine reports as private bytes) once
# every row has been shown. Medians over the rounds, and the two ratios.
#
#   bench/wine/latency.sh [ROUNDS]      (5 rounds unless given)
#   PALLO_EXE=other.exe bench/wine/latency.sh    measures another build
#
# Builds what it needs (the Windows programs, the release tools); the pack is
# made once into build/bench-pack. Needs libx11-dev and libxtst-dev.
set -uo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
rounds="${1:-5}"

bash scripts/build-windows.sh >/dev/null || { echo "latency: the Windows build failed" >&2; exit 1; }
cmake --build --preset windows --target bare_window >/dev/null || exit 1
{ cmake --preset release && cmake --build --preset release --target make_full_pack xlatency; } >/dev/null ||
  { echo "latency: the release tools did not build" >&2; exit 1; }
xlatency="$root/build/release/bench/xlatency"
[ -x "$xlatency" ] || { echo "latency: xlatency was not built (install libx11-dev and libxtst-dev)" >&2; exit 1; }

pack="$root/build/bench-pack"
if [ ! -f "$pack/.complete" ]; then
  echo "latency: writing the full pack into $pack (about a minute)"
  rm -rf "$pack"
  build/release/bench/make_full_pack "$pack" || exit 1
  touch "$pack/.complete"
fi

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
trap ws_cleanup EXIT
trap 'exit 130' INT TERM

# Wide enough for the whole menu row of the pack (X = 300, ten windows).
PALLO_SCREEN=1280x800x24 ws_start_xvfb || exit 1
ws_temp_dir session
ws_use_prefix "$session/prefix" || exit 1
ws_start_wineserver || exit 1

ws_temp_dir run
cp "${PALLO_EXE:-build/windows/pallo.exe}" "$run/pallo.exe"
cp build/windows/bench/wine/bare_window.exe "$pack/Cfg.ini" "$run/"
ln -s "$pack/Img" "$run/Img"
cd "$run" || exit 1

# Menu picture 1 of the pack: overlay at (300, 200), spacing 70 + 1.
menu_x=$((300 + 71 + 35))
menu_y=$((200 + 20))
entries=28
menus=10

wait_idle() { ws_wait_idle "$1" 60; }
private_kb() { awk '/^RssAnon:/{print $2}' "/proc/$1/status"; }

# launch PID_VAR MS_VAR NAME EXE; the pid joins those stopped at clean-up.
launch() {
  local out
  out="$("$xlatency" launch "$3" wine "$4")"
  WS_LAUNCHED_PIDS+=("${out%% *}")
  printf -v "$1" '%s' "${out%% *}"
  printf -v "$2" '%s' "${out#* }"
}

results=()
for round in $(seq 1 "$rounds"); do
  launch bare_pid bare_ms 'Pallo bare window' bare_window.exe
  ws_stop_pid "$bare_pid" 10

  launch pid launch_ms 'Pallo By Vermack' pallo.exe
  wait_idle "$pid" || echo "latency: the program did not become idle" >&2
  cold_ms="$("$xlatency" click "$menu_x" "$menu_y" 1 map "$entries")" || cold_ms=-
  "$xlatency" click "$menu_x" "$menu_y" 3 unmap "$entries" >/dev/null || echo "latency: the rows did not hide" >&2
  # Like the first, the second press starts from an idle program: hiding
  # the rows leaves Wine busy for a while, which is no part of a press.
  wait_idle "$pid" || echo "latency: the program did not become idle" >&2
  warm_ms="$("$xlatency" click "$menu_x" "$menu_y" 1 map "$entries")" || warm_ms=-
  wait_idle "$pid" || echo "latency: the program did not become idle" >&2
  turn_ms="$("$xlatency" click "$menu_x" "$menu_y" 1 map "$entries")" || turn_ms=-
  for m in $(seq 2 "$menus"); do
    xdotool mousemove $((menu_x + 71 * (m - 1))) "$menu_y" click 1
    wait_idle "$pid"
  done
  kb="$(private_kb "$pid")"
  ws_stop_pid "$pid" 10

  printf 'round %d: bare %s ms, start-up %s ms, first press %s ms, again %s ms, page turn %s ms, private %s kB\n' \
    "$round" "$bare_ms" "$launch_ms" "$cold_ms" "$warm_ms" "$turn_ms" "$kb"
  results+=("$bare_ms $launch_ms $cold_ms $warm_ms $kb $turn_ms")
done

median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
column() { printf '%s\n' "${results[@]}" | awk -v c="$1" '$c != "-" {print $c}' | median; }
bare="$(column 1)" launch_med="$(column 2)" cold="$(column 3)" warm="$(column 4)" kb="$(column 5)" turn="$(column 6)"
echo
echo "medians of $rounds rounds: bare $bare ms, start-up $launch_med ms, first press $cold ms, again $warm ms, page turn $turn ms, private $kb kB"
awk -v b="$bare" -v l="$launch_med" -v c="$cold" -v w="$warm" 'BEGIN {
  printf "start-up / bare window:   %.2f x\n", l / b
  printf "first press / press again: %.2f x\n", c / w }'
# The bare window's time varies most from round to round; the ratios taken
# within each round, then their median, say the same more steadily.
ratio() { printf '%s\n' "${results[@]}" | awk -v a="$1" -v b="$2" '$a != "-" && $b != "-" && $b > 0 {print $a / $b}' | median; }
printf 'per round, median:        %.2f x start-up, %.2f x first press\n' "$(ratio 2 1)" "$(ratio 3 4)"
