#!/usr/bin/env bash
# Start-up and press latency of pallo.exe under Wine, each beside its
# baseline, measured on the X server (xlatency: MapNotify and DAMAGE events,
# clicks through XTest) on a full content pack (make_full_pack: 10 x 99
# entries, 316 px menu pictures, 256 px entries):
#
#   start-up:    launch -> overlay mapped, beside launch -> window mapped of
#                bare_window.exe (one layered 70 x 70 pop-up and nothing else);
#   first press: press on menu picture 1 -> its 28 entry windows mapped, the
#                first time, beside the same press again;
#   drawn:       the same two presses in a second run, timed until the 28
#                windows are mapped and drawn into (what the user sees), and
#                a page turn: the press on the shown menu picture once more ->
#                entries 29-56 drawn in the same windows, which stay shown;
#   at once:     in a third run, the press made the moment menu picture 1 is
#                mapped (before the program was ever idle) -> its 28 entry
#                windows mapped and drawn, beside the drawn press again.
#
# Each press starts from an idle program (no CPU time used for 0.5 s); the
# rows are hidden with the right button between the first press and the
# next. The program's private memory (RssAnon, what Wine reports as private
# bytes) is read idle after start-up and again once every menu picture was
# pressed. Medians over the rounds, and the ratios.
#
#   bench/wine/latency.sh [ROUNDS]      (5 rounds unless given)
#   PALLO_EXE=other.exe bench/wine/latency.sh    measures another build
#   PALLO_ONE_CPU=1 bench/wine/latency.sh        runs the whole session (X
#       server, wineserver, the programs) on one CPU: every request of the
#       program to wineserver then wakes it on the CPU it runs on. In the
#       program's first second the scheduler otherwise tends to keep the two
#       on different CPUs, where each of a press's requests costs several
#       times as much on a virtual machine.
#
# Builds what it needs (the Windows programs, the release tools); the pack is
# made once into build/bench-pack. Needs libx11-dev, libxtst-dev and
# libxdamage-dev.
set -uo pipefail

if [ "${PALLO_ONE_CPU:-0}" = 1 ] && [ -z "${PALLO_ON_ONE_CPU:-}" ]; then
  PALLO_ON_ONE_CPU=1 exec taskset -c 0 bash "$0" "$@"
fi

root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
rounds="${1:-5}"

bash scripts/build-windows.sh >/dev/null || { echo "latency: the Windows build failed" >&2; exit 1; }
cmake --build --preset windows --target bare_window >/dev/null || exit 1
{ cmake --preset release && cmake --build --preset release --target make_full_pack xlatency; } >/dev/null ||
  { echo "latency: the release tools did not build" >&2; exit 1; }
xlatency="$root/build/release/bench/xlatency"
[ -x "$xlatency" ] || { echo "latency: xlatency was not built (install libx11-dev, libxtst-dev and libxdamage-dev)" >&2; exit 1; }

# shellcheck source=bench/full_pack.sh
source bench/full_pack.sh
full_pack latency || exit 1

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
# The second and third rows stand below the menu row (Y = 200 + 71 and on).
rows_y=$((200 + 40))
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

# press MS_VAR HOW: a left press on menu picture 1, timed until its 28 entries
# are mapped (HOW = map) or mapped and drawn (HOW = paint).
press() {
  local ms
  if [ "$2" = map ]; then ms="$("$xlatency" click "$menu_x" "$menu_y" 1 map "$entries")" || ms=-
  else ms="$("$xlatency" click "$menu_x" "$menu_y" 1 paint "$entries" "$rows_y")" || ms=-; fi
  printf -v "$1" '%s' "$ms"
}
hide_rows() {
  "$xlatency" click "$menu_x" "$menu_y" 3 unmap "$entries" >/dev/null || echo "latency: the rows did not hide" >&2
}

results=()
for round in $(seq 1 "$rounds"); do
  launch bare_pid bare_ms 'Pallo bare window' bare_window.exe
  ws_stop_pid "$bare_pid" 10

  # Mapped: the first press, then the same press again.
  launch pid launch_ms 'Pallo By Vermack' pallo.exe
  wait_idle "$pid" || echo "latency: the program did not become idle" >&2
  press cold_ms map
  hide_rows
  # Like the first, the second press starts from an idle program: hiding
  # the rows leaves Wine busy for a while, which is no part of a press.
  wait_idle "$pid" || echo "latency: the program did not become idle" >&2
  press warm_ms map
  ws_stop_pid "$pid" 10

  # Drawn: the same two presses in a new run, then a page turn (the windows
  # stay shown and are drawn anew), then every menu picture in turn.
  launch pid launch2_ms 'Pallo By Vermack' pallo.exe
  wait_idle "$pid" || echo "latency: the program did not become idle" >&2
  idle_kb="$(private_kb "$pid")"
  press cold_paint_ms paint
  hide_rows
  wait_idle "$pid" || echo "latency: the program did not become idle" >&2
  press warm_paint_ms paint
  wait_idle "$pid" || echo "latency: the program did not become idle" >&2
  press turn_ms paint
  for m in $(seq 2 "$menus"); do
    xdotool mousemove $((menu_x + 71 * (m - 1))) "$menu_y" click 1
    wait_idle "$pid"
  done
  kb="$(private_kb "$pid")"
  ws_stop_pid "$pid" 10

  # The press a user makes the moment the menu shows, before the program
  # was ever idle: timed until the 28 entry windows are mapped and drawn.
  out="$("$xlatency" launch-press 'Pallo By Vermack' "$menu_x" "$menu_y" "$entries" paint "$rows_y" wine pallo.exe)"
  read -r pid _ early_ms <<<"$out"
  WS_LAUNCHED_PIDS+=("$pid")
  [ -n "$early_ms" ] || early_ms=-
  ws_stop_pid "$pid" 10

  printf 'round %d: bare %s ms, start-up %s ms, first press %s ms, again %s ms; drawn: first press %s ms, again %s ms, page turn %s ms; at once %s ms; private %s kB idle, %s kB after every topic\n' \
    "$round" "$bare_ms" "$launch_ms" "$cold_ms" "$warm_ms" "$cold_paint_ms" "$warm_paint_ms" "$turn_ms" "$early_ms" "$idle_kb" "$kb"
  results+=("$bare_ms $launch_ms $cold_ms $warm_ms $kb $turn_ms $cold_paint_ms $warm_paint_ms $idle_kb $early_ms")
done

median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
column() { printf '%s\n' "${results[@]}" | awk -v c="$1" '$c != "-" {print $c}' | median; }
bare="$(column 1)" launch_med="$(column 2)" cold="$(column 3)" warm="$(column 4)" kb="$(column 5)" turn="$(column 6)"
cold_paint="$(column 7)" warm_paint="$(column 8)" idle_kb="$(column 9)" early="$(column 10)"
echo
echo "medians of $rounds rounds: bare $bare ms, start-up $launch_med ms, first press $cold ms, again $warm ms"
echo "  drawn: first press $cold_paint ms, again $warm_paint ms, page turn $turn ms"
echo "  a press the moment the menu shows: $early ms (drawn)"
echo "  private memory: $idle_kb kB idle after start-up, $kb kB after every topic was shown"
awk -v b="$bare" -v l="$launch_med" -v c="$cold" -v w="$warm" -v cp="$cold_paint" -v wp="$warm_paint" -v t="$turn" -v e="$early" 'BEGIN {
  printf "start-up / bare window:    %.2f x\n", l / b
  printf "first press / press again: %.2f x mapped, %.2f x drawn\n", c / w, cp / wp
  printf "page turn / press again:   %.2f x drawn\n", t / wp
  printf "at once / press again:     %.2f x drawn\n", e / wp }'
# The bare window's time varies most from round to round; the ratios taken
# within each round, then their median, say the same more steadily.
ratio() { printf '%s\n' "${results[@]}" | awk -v a="$1" -v b="$2" '$a != "-" && $b != "-" && $b > 0 {print $a / $b}' | median; }
printf 'per round, median:         %.2f x start-up, %.2f x first press (mapped), %.2f x (drawn), %.2f x page turn, %.2f x at once\n' \
  "$(ratio 2 1)" "$(ratio 3 4)" "$(ratio 7 8)" "$(ratio 6 8)" "$(ratio 10 8)"
