#!/usr/bin/env bash
# Builds the Windows program: static third-party libraries (cached), the "windows"
# preset, then build/windows/pallo.exe, the pack checker pallo-check.exe beside it
# and the test helper wininspect.exe.
#   scripts/build-windows.sh          programs and helper
#   scripts/build-windows.sh --all    every target of the Windows build (tests too)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"

targets=(--target pallo pallo-check wininspect gamestandin)
if [ "${1:-}" = "--all" ]; then targets=(); fi

bash scripts/build-mingw-deps.sh

# One build at a time in build/windows (a `make test` beside a `make run`): two
# Ninja runs in one build folder would write the same files.
mkdir -p build
exec 9>build/.windows-build.lock
if ! flock -n 9; then
  echo "build-windows: another build is using build/windows; waiting for it"
  flock -w 1800 9
fi

log="$(mktemp "${TMPDIR:-/tmp}/pallo-configure.XXXXXX")"
trap 'rm -f "$log"' EXIT
if ! cmake --preset windows >"$log" 2>&1; then
  cat "$log" >&2
  echo "build-windows: configuring the windows preset failed" >&2
  exit 1
fi
cmake --build --preset windows -j "$jobs" "${targets[@]}"

# The programs must run from a bare folder: only DLLs that Windows itself provides.
# Anything from the toolchain or a library build (libstdc++-6, libgcc_s, libwinpthread,
# zlib1, libpng16, ...) means a library was linked dynamically.
for exe in build/windows/pallo.exe build/windows/pallo-check.exe; do
  if [ ! -f "$exe" ]; then
    echo "build-windows: $exe was not built" >&2
    exit 1
  fi
  dlls="$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/{print $3}')"
  foreign="$(printf '%s\n' "$dlls" | grep -i -E '^(lib|zlib|zip|png|jpeg|gtest)' || true)"
  if [ -n "$foreign" ]; then
    echo "build-windows: $exe needs non-system DLLs:" >&2
    printf '%s\n' "$foreign" | sed 's/^/  /' >&2
    exit 1
  fi
  echo "build-windows: $exe ($(du -k "$exe" | cut -f1) KiB; DLLs: ${dlls//$'\n'/ })"
done
