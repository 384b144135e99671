#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test suite:
# the release package's checks, the host unit tests (ASan + UBSan), the same
# tests and the processor zoo built for 32-bit x86 and run under qemu-i386,
# the static checks of the 32-bit module, and the Wine suites.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
source scripts/wine-env.sh
echo "== Wine: $MORV_WINEARCH ($MORV_WINE), Windows build: $MORV_WIN_PRESET"

jobs=$(nproc)
status=0
for preset in host host32 fuzz win32 $([ "$MORV_WIN_PRESET" != win32 ] && echo "$MORV_WIN_PRESET"); do
  echo "== build: $preset"
  # The Windows GoogleTest executables only where Wine runs them.
  gtests=()
  case "$preset" in
    win32 | win64) gtests=(-DMORV_WINDOWS_GTESTS=$([ "$preset" = "$MORV_WIN_PRESET" ] && echo ON || echo OFF)) ;;
  esac
  cmake --preset "$preset" "${gtests[@]}" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== package: the 32-bit release, checked"
scripts/package.sh || status=1

echo "== tests: host"
ctest --preset host -j "$jobs" || status=1

echo "== tests: host32 (32-bit x86 under qemu-i386)"
ctest --preset host32 -j "$jobs" -LE zoo || status=1

echo "== tests: processor zoo (the processor layer on qemu-i386's CPU models)"
ctest --preset host32 -L zoo || status=1

echo "== tests: fuzz targets, each for a bounded time"
ctest --preset fuzz || status=1

echo "== tests: win32 (static checks of the 32-bit module)"
if [ "$MORV_WIN_PRESET" = win32 ]; then
  ctest --preset win32 || status=1
else
  ctest --preset win32 -R '^module\.' || status=1
  echo "== tests: $MORV_WIN_PRESET under Wine"
  ctest --preset "$MORV_WIN_PRESET" || status=1
fi
exit "$status"
