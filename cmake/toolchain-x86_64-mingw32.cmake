# x86-64 Windows, win32-threads compilers: the shipped binaries.
set(MORV_MINGW_ARCH x86_64)
set(MORV_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
