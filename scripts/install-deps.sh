#!/usr/bin/env bash
# Installs everything the build and the test suites need on Debian 12 (run as root).
# Idempotent; any failure to install is a failure.
set -euo pipefail

packages=(
  cmake make g++ clang clang-format libclang-rt-14-dev lld llvm zip unzip
  googletest libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  libxml2-utils valgrind util-linux python3
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32
  g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32
  wine wine32:i386 wine64
  g++-multilib libgtest-dev:i386 libgmock-dev:i386 libpugixml-dev:i386 qemu-user
)
# qemu-user recommends qemu-user-binfmt, which would hand every i386 program
# to the emulator and slow 64-bit Wine: recommendations stay out (below).

missing() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || return 0
  done
  return 1
}

if ! missing; then
  echo "install-deps: all packages present"
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
# A mirror in the middle of a sync can fail one index (often the i386
# security one); retry, then go on with what was fetched: the pinned install
# below copes with a lagging i386 security index.
for attempt in 1 2 3; do
  apt-get update -q && break
  echo "install-deps: apt-get update failed (attempt $attempt)" >&2
  sleep $((attempt * 5))
done

if ! apt-get install -y -q --no-install-recommends "${packages[@]}"; then
  # The i386 index of the security suite can lag the amd64 one; then take
  # matching versions of both architectures from the main suite.
  prefs=$(mktemp)
  trap 'rm -f "$prefs"' EXIT
  printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 50\n' >"$prefs"
  apt-get -o Dir::Etc::Preferences="$prefs" install -y -q --no-install-recommends "${packages[@]}"
fi

if missing; then
  echo "install-deps: packages still missing after install" >&2
  exit 1
fi
echo "install-deps: done"
