# 32-bit x86 Windows, win32-threads compilers: the shipped binaries.
set(MORV_MINGW_ARCH i686)
set(MORV_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
