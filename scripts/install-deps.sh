#!/usr/bin/env bash
# Installs the packages the build and the tests need, only those missing.
# Runs as root on a fresh machine (CI); elsewhere it uses sudo if present.
set -euo pipefail

native=(g++ cmake ninja-build pkg-config libgtest-dev libbenchmark-dev libpng-dev libjpeg-dev zlib1g-dev)
windows=(g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev nasm wine wine64 xvfb xdotool
         x11-utils imagemagick fonts-wqy-microhei zip unzip libx11-dev libxtst-dev)

want=("${native[@]}")
if [ "${PALLO_NATIVE_ONLY:-0}" != 1 ]; then want+=("${windows[@]}"); fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then missing+=("$p"); fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" != 0 ]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
