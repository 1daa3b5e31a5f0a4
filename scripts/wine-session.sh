# Shared functions for running Windows programs under Wine: a virtual X display,
# a Wine prefix copied from a booted template, a wineserver we own, and a clean-up
# that stops every process we started by its pid and removes every temp folder.
# Sourced by scripts/run.sh, scripts/test-windows.sh and tests/wine/e2e.sh.
#
#   source scripts/wine-session.sh
#   trap ws_cleanup EXIT
#   ws_start_xvfb              # exports DISPLAY (a free display number)
#   ws_temp_dir tmp; ws_use_prefix "$tmp/prefix"   # copy of build/wine-template
#   ws_start_wineserver
#   ws_launch pid_var wine prog.exe    # background; pid kept and stopped at clean-up
#
# Every wait polls every 50 ms up to a timeout; nothing sleeps for a fixed time.

WS_ROOT="${WS_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
WS_TEMPLATE="${WS_TEMPLATE:-$WS_ROOT/build/wine-template}"
# Bump when the template recipe changes (registry settings below), so old templates are rebuilt.
WS_TEMPLATE_RECIPE=1

export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono/Gecko install prompts, no desktop menu entries from the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"

WS_XVFB_PID=""
WS_WINESERVER_PID=""
WS_SERVER_DIR=""
WS_LAUNCHED_PIDS=()
WS_TEMP_DIRS=()

ws_log() { printf '[wine] %s\n' "$*" >&2; }

# ws_poll TIMEOUT_SECONDS COMMAND... : runs COMMAND every 50 ms until it succeeds;
# fails when the timeout passes first.
ws_poll() {
  local timeout="$1"; shift
  local deadline=$((SECONDS + timeout))
  while true; do
    if "$@"; then return 0; fi
    if [ "$SECONDS" -ge "$deadline" ]; then return 1; fi
    sleep 0.05
  done
}

ws_alive() { kill -0 "$1" 2>/dev/null && [ "$(ps -o stat= -p "$1" 2>/dev/null | cut -c1)" != Z ]; }
ws_dead() { ! ws_alive "$1"; }

# ws_wait_idle PID [TIMEOUT]: waits until the process has used no CPU time for
# 10 polls in a row (0.5 s): it has done what it was doing, painting included.
_ws_idle_last="" _ws_idle_same=0
_ws_unchanged() {
  local now
  now="$(awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null)" || return 1
  [ -n "$now" ] || return 1
  if [ "$now" = "$_ws_idle_last" ]; then _ws_idle_same=$((_ws_idle_same + 1)); else _ws_idle_same=0; _ws_idle_last="$now"; fi
  [ "$_ws_idle_same" -ge 10 ]
}
ws_wait_idle() { _ws_idle_last="" _ws_idle_same=0; ws_poll "${2:-60}" _ws_unchanged "$1"; }

# ws_stop_pid PID [TIMEOUT]: TERM, wait, then KILL; reaps it when it is our child.
ws_stop_pid() {
  local pid="$1" timeout="${2:-10}"
  [ -n "$pid" ] || return 0
  if ws_alive "$pid"; then
    kill -TERM "$pid" 2>/dev/null || true
    if ! ws_poll "$timeout" ws_dead "$pid"; then
      kill -KILL "$pid" 2>/dev/null || true
      ws_poll 5 ws_dead "$pid" || true
    fi
  fi
  wait "$pid" 2>/dev/null || true
}

# ws_temp_dir VAR: a new temp folder, removed at clean-up, its path in VAR.
# (Not a $(...) function: the list of folders must live in this shell.)
ws_temp_dir() {
  local _ws_dir
  _ws_dir="$(mktemp -d "${TMPDIR:-/tmp}/pallo-wine.XXXXXX")"
  WS_TEMP_DIRS+=("$_ws_dir")
  printf -v "$1" '%s' "$_ws_dir"
}

# Starts Xvfb on a free display (PALLO_SCREEN, 1024x768x24 unless set) and
# exports DISPLAY. -displayfd writes the number
# only once the server accepts clients, so no probing is needed.
ws_start_xvfb() {
  local dir fifo_file number
  ws_temp_dir dir
  fifo_file="$dir/display"
  : >"$fifo_file"
  Xvfb -displayfd 3 -screen 0 "${PALLO_SCREEN:-1024x768x24}" -nolisten tcp 3>"$fifo_file" >"$dir/xvfb.log" 2>&1 &
  WS_XVFB_PID=$!
  if ! ws_poll 20 grep -q '^[0-9][0-9]*$' "$fifo_file"; then
    ws_log "Xvfb did not start:"; cat "$dir/xvfb.log" >&2
    return 1
  fi
  number="$(head -n1 "$fifo_file")"
  export DISPLAY=":$number"
  ws_log "Xvfb on $DISPLAY (pid $WS_XVFB_PID)"
}

ws_stop_xvfb() {
  if [ -n "$WS_XVFB_PID" ]; then ws_stop_pid "$WS_XVFB_PID"; WS_XVFB_PID=""; fi
}

# Writes the registry settings every prefix gets, as a UTF-16 .reg file (the
# only form in which regedit takes non-ASCII names).
ws_write_reg() {
  local out="$1"
  {
    printf '\xff\xfe'
    sed 's/$/\r/' <<'EOF' | iconv -f UTF-8 -t UTF-16LE
Windows Registry Editor Version 5.00

; Chinese text: map the UI font faces to an installed CJK font.
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"
"Tahoma"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"微软雅黑"="WenQuanYi Micro Hei"

; A crashing program ends instead of waiting on a crash dialog nobody sees.
[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

EOF
  } >"$out"
}

# The folder Wine keeps its server socket in, named by the prefix and found in
# TMPDIR (so TMPDIR must not change while a session runs).
ws_server_dir() {
  local name
  [ -f "$WINEPREFIX/wineserver" ] || return 1
  name="$(cat "$WINEPREFIX/wineserver" 2>/dev/null)" || return 1
  [ -n "$name" ] || return 1
  case "$name" in
    /*) printf '%s\n' "$name" ;;
    *) printf '%s\n' "${TMPDIR:-/tmp}/$name" ;;
  esac
}

ws_server_ready() {
  local dir
  dir="$(ws_server_dir)" || return 1
  compgen -G "$dir/server-*/socket" >/dev/null
}

# Starts the wineserver of $WINEPREFIX in the foreground of a background job, so
# its pid is ours to stop.
ws_start_wineserver() {
  wineserver -f -p >/dev/null 2>&1 &
  WS_WINESERVER_PID=$!
  if ! ws_poll 20 ws_server_ready; then
    ws_log "wineserver did not come up"
    return 1
  fi
  WS_SERVER_DIR="$(ws_server_dir)"
  ws_warm_up
}

# The first Wine program of a session starts the prefix's services, the first
# one with a window the desktop process (explorer.exe /desktop) and rpcss. They
# live as long as the server and inherit the standard output of whoever started
# them: started from CTest they would hold its pipe open and it would wait for
# them until its timeout. Start them here, with their output going nowhere.
ws_warm_up() {
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

# Ends every Wine process of the prefix, then the server, and removes its folder.
ws_stop_wineserver() {
  [ -n "$WS_WINESERVER_PID" ] || return 0
  local dir="" d
  dir="$(ws_server_dir 2>/dev/null)" || dir=""
  wineserver -k >/dev/null 2>&1 || true
  if ! ws_poll 15 ws_dead "$WS_WINESERVER_PID"; then
    kill -KILL "$WS_WINESERVER_PID" 2>/dev/null || true
    ws_poll 5 ws_dead "$WS_WINESERVER_PID" || true
  fi
  wait "$WS_WINESERVER_PID" 2>/dev/null || true
  WS_WINESERVER_PID=""
  for d in "$dir" "$WS_SERVER_DIR"; do
    if [ -n "$d" ] && [ -d "$d" ]; then rm -rf "$d"; fi
  done
  WS_SERVER_DIR=""
  rm -f "$WINEPREFIX/wineserver"
}

ws_template_ready() {
  [ -f "$WS_TEMPLATE/.pallo-template" ] && [ "$(cat "$WS_TEMPLATE/.pallo-template")" = "$WS_TEMPLATE_RECIPE" ]
}

# Boots build/wine-template once (8-10 s) with the fonts mapped; later prefixes
# are copies of it (2-3 s). Needs DISPLAY. Runs started together (a `make test`
# beside a `make run`) boot it one at a time under a lock beside it; the second
# finds it ready. The template appears whole, by one rename.
ws_ensure_template() {
  ws_template_ready && return 0
  local status=0
  mkdir -p "$(dirname "$WS_TEMPLATE")"
  exec 9>"$WS_TEMPLATE.lock"
  if ! flock -n 9; then
    ws_log "another run is booting $WS_TEMPLATE; waiting for it"
    flock -w 300 9 || status=1
  fi
  # Booting with descriptor 9 closed: no Wine process inherits the lock.
  if [ "$status" = 0 ] && ! ws_template_ready; then ws_boot_template 9>&- || status=$?; fi
  exec 9>&-
  [ "$status" = 0 ] || ws_log "no Wine prefix template in $WS_TEMPLATE"
  return "$status"
}

ws_boot_template() {
  ws_log "booting a Wine prefix template in $WS_TEMPLATE"
  local staging="$WS_TEMPLATE.new.$$" saved_prefix="${WINEPREFIX-}" ok=0
  rm -rf "$staging" "$WS_TEMPLATE"
  mkdir -p "$staging"
  export WINEPREFIX="$staging"
  if ws_start_wineserver; then
    local reg="$staging/pallo.reg"
    ws_write_reg "$reg"
    if wine wineboot -i >/dev/null 2>&1 && wine regedit /S 'Z:'"${reg//\//\\}" >/dev/null 2>&1; then ok=1; fi
    rm -f "$reg"
  fi
  ws_stop_wineserver
  if [ -n "$saved_prefix" ]; then export WINEPREFIX="$saved_prefix"; else unset WINEPREFIX; fi
  if [ "$ok" != 1 ] || [ ! -f "$staging/system.reg" ]; then
    rm -rf "$staging"
    ws_log "booting the Wine prefix failed"
    return 1
  fi
  echo "$WS_TEMPLATE_RECIPE" >"$staging/.pallo-template"
  mv -T "$staging" "$WS_TEMPLATE"
}

# ws_use_prefix DIR: makes DIR a copy of the template (unless it already is one)
# and exports WINEPREFIX.
ws_use_prefix() {
  local dir="$1"
  ws_ensure_template || return 1
  if [ ! -f "$dir/.pallo-template" ] || [ "$(cat "$dir/.pallo-template")" != "$WS_TEMPLATE_RECIPE" ]; then
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    cp -a "$WS_TEMPLATE" "$dir"
  fi
  rm -f "$dir/wineserver"
  export WINEPREFIX="$dir"
}

# ws_launch VAR COMMAND...: starts COMMAND in the background, stores its pid in VAR
# (for `wine prog.exe` it equals the windows' _NET_WM_PID) and stops it at clean-up.
ws_launch() {
  local _ws_var="$1"; shift
  "$@" &
  WS_LAUNCHED_PIDS+=("$!")
  printf -v "$_ws_var" '%s' "$!"
}

ws_cleanup() {
  local pid d
  for pid in "${WS_LAUNCHED_PIDS[@]}"; do ws_stop_pid "$pid" 5; done
  WS_LAUNCHED_PIDS=()
  ws_stop_wineserver
  ws_stop_xvfb
  for d in "${WS_TEMP_DIRS[@]}"; do rm -rf "$d"; done
  WS_TEMP_DIRS=()
}
