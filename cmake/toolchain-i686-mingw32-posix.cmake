# 32-bit x86 Windows, posix-threads compilers: the GoogleTest executables.
set(MORV_MINGW_ARCH i686)
set(MORV_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
