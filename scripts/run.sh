#!/usr/bin/env bash
# `make run`: builds the Windows program and starts it under Wine, with the one
# Wine prefix the project keeps, build/wine-template (the tests run on copies of
# it). Without a display it uses a virtual one, waits for the overlay and saves
# build/screenshot.png. Runs until the program ends or Ctrl-C, which stops every
# process it started and ends with status 0.
#   scripts/run.sh                 the demo content (examples/demo), copied fresh into build/run
#   scripts/run.sh --pack FOLDER   the pack in FOLDER, in place: its Cfg.ini is edited there
# The program reads Cfg.ini and Img beside itself, so for a pack it runs as
# FOLDER/pallo-run.exe, a copy of build/windows/pallo.exe removed when the run ends
# (a pallo.exe of the pack's own stays untouched).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"

if [ "${1:-}" != --session ]; then
  pack=""
  if [ "${1:-}" = --pack ]; then
    if [ -z "${2:-}" ] || [ ! -d "$2" ]; then
      echo "run: --pack needs a folder; '${2:-}' is none" >&2
      exit 2
    fi
    pack="$(cd "$2" && pwd)"
  elif [ -n "${1:-}" ]; then
    echo "usage: scripts/run.sh [--pack FOLDER]" >&2
    exit 2
  fi

  cd "$root"
  bash scripts/build-windows.sh

  if [ -n "$pack" ]; then
    if [ ! -f "$pack/Cfg.ini" ]; then echo "run: $pack has no Cfg.ini; the program will say so" >&2; fi
    export PALLO_RUN_DIR="$pack" PALLO_RUN_EXE="$pack/pallo-run.exe"
  else
    # The run folder: the program beside a fresh copy of the demo content.
    run="$root/build/run"
    mkdir -p "$run"
    rm -rf "$run/Img" "$run/Cfg.ini"
    if [ -f examples/demo/Cfg.ini ]; then cp examples/demo/Cfg.ini "$run/"; fi
    if [ -d examples/demo/Img ]; then cp -r examples/demo/Img "$run/"; fi
    export PALLO_RUN_DIR="$run" PALLO_RUN_EXE="$run/pallo.exe"
  fi
  # Earlier versions kept a second prefix of about 700 MB here.
  rm -rf build/wine-prefix

  # Ctrl-C reaches every process of the terminal's foreground group: make too,
  # and make ends with an error whatever its recipe returns. Run as a job of its
  # own (job control gives it its own process group and the terminal), the
  # session alone receives the Ctrl-C and ends cleanly; make sees status 0.
  status=0
  if [ -t 0 ]; then set -m; fi
  bash "$0" --session || status=$?
  set +m
  exit "$status"
fi

# ---------------------------------------------------------------- the session

cd "$root"
run="$PALLO_RUN_DIR"
exe="$PALLO_RUN_EXE"

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
# The program's copy goes when the run ends; in build/run it stays for the next.
session_cleanup() {
  ws_cleanup
  if [ "$exe" = "$run/pallo-run.exe" ]; then rm -f "$exe"; fi
}
trap session_cleanup EXIT
stopped() {
  echo
  echo "run: stopped (Ctrl-C); every process it started is ending"
  exit 0
}
trap stopped INT
trap 'exit 143' TERM

pallo_pid=""
headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  # Wide enough for the demo's rows: 14 windows from X = 200.
  PALLO_SCREEN="${PALLO_SCREEN:-1280x800x24}" ws_start_xvfb
fi

ws_ensure_template
export WINEPREFIX="$WS_TEMPLATE"
# A server left over from an earlier run that was killed would make ours exit at
# once; end it first.
server_gone() { ! ws_server_ready; }
if ws_server_ready; then
  wineserver -k >/dev/null 2>&1 || true
  ws_poll 15 server_gone || true
fi
ws_start_wineserver

# A copy left by a run that was killed is replaced.
cp build/windows/pallo.exe "$exe"
cd "$run"
ws_launch pallo_pid wine "$exe"
cd "$root"

overlay_shown() {
  xdotool search --all --onlyvisible --pid "$pallo_pid" --name '^Pallo By Vermack$' >/dev/null 2>&1
}
program_ended() { ws_dead "$pallo_pid"; }
either() { overlay_shown || program_ended; }

if ws_poll 90 either && overlay_shown; then
  echo "run: $(basename "$exe") is running (pid $pallo_pid) in $run on display $DISPLAY"
else
  echo "run: the overlay did not appear (a message box may be waiting)" >&2
fi
if [ "$headless" = 1 ] && ws_alive "$pallo_pid"; then
  # The overlay shows before its rows are built and painted: the picture
  # waits until the program is idle.
  ws_wait_idle "$pallo_pid" 30 || true
  import -window root "$root/build/screenshot.png"
  echo "run: screenshot saved to build/screenshot.png"
fi
echo "run: press Ctrl-C to stop"
status=0
wait "$pallo_pid" || status=$?
echo "run: $(basename "$exe") ended (status $status)"
