# Sourced: chooses the Wine that can run here and the Windows build it runs.
#
# The product is a 32-bit DLL and is tested under 32-bit Wine where the
# kernel runs 32-bit code. Some kernels (and some VMs) run 64-bit user code
# only; there the same sources are built for x86-64 and tested under 64-bit
# Wine, and the 32-bit DLL is still built and checked statically.
#
# Sets MORV_WINE (the loader), MORV_WINEARCH (win32|win64) and
# MORV_WIN_PRESET (the CMake preset whose binaries run under MORV_WINE).
# MORV_WINEARCH may be set beforehand to force a choice.

morv_i386_runs() {
  # An emulator registered for i386 binaries makes the loader start but not
  # work, so only a native i386 execution counts.
  if ls /proc/sys/fs/binfmt_misc 2>/dev/null | grep -qi 'i386'; then
    return 1
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -z "${MORV_WINEARCH:-}" ]; then
  if morv_i386_runs; then MORV_WINEARCH=win32; else MORV_WINEARCH=win64; fi
fi
if [ "$MORV_WINEARCH" = win32 ]; then
  MORV_WINE=/usr/lib/wine/wine
  MORV_WIN_PRESET=win32
else
  MORV_WINE=/usr/lib/wine/wine64
  MORV_WIN_PRESET=win64
fi
export MORV_WINE MORV_WINEARCH MORV_WIN_PRESET
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
