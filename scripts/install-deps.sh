#!/usr/bin/env bash
# Installs the packages the build and the tests need, only those missing.
# Runs as root on a fresh machine (CI); elsewhere it uses sudo if present.
# Runs started together install one at a time (a lock in the per-user cache
# folder), and the second finds the packages there; apt itself waits for a
# package manager another user is running.
set -euo pipefail

native=(g++ cmake ninja-build pkg-config libgtest-dev libbenchmark-dev libpng-dev libjpeg-dev zlib1g-dev libzip-dev)
windows=(g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev nasm wine wine64 xvfb xdotool
         x11-utils imagemagick fonts-wqy-microhei zip unzip libx11-dev libxtst-dev libxdamage-dev)

want=("${native[@]}")
if [ "${PALLO_NATIVE_ONLY:-0}" != 1 ]; then want+=("${windows[@]}"); fi

missing=()
find_missing() {
  local p
  missing=()
  for p in "${want[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then missing+=("$p"); fi
  done
}

find_missing
[ ${#missing[@]} -eq 0 ] && exit 0

lock_dir="${XDG_CACHE_HOME:-$HOME/.cache}/pallo"
mkdir -p "$lock_dir"
exec 9>"$lock_dir/install-deps.lock"
if ! flock -n 9; then
  echo "install-deps: another build is installing packages; waiting for it"
  flock -w 1800 9
  find_missing
  [ ${#missing[@]} -eq 0 ] && exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" != 0 ]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
# `apt-get update` does not wait for the lists lock: while another apt holds it,
# try again each second (up to 10 min). No apt process inherits our lock.
deadline=$((SECONDS + 600))
until out="$("${sudo[@]}" apt-get update -qq 2>&1 9>&-)"; do
  if ! grep -q 'Could not get lock' <<<"$out" || [ "$SECONDS" -ge "$deadline" ]; then
    printf '%s\n' "$out" >&2
    exit 1
  fi
  sleep 1
done
"${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 "${missing[@]}" >/dev/null 9>&-
