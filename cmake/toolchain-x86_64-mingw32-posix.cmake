# x86-64 Windows, posix-threads compilers: the GoogleTest executables.
set(MORV_MINGW_ARCH x86_64)
set(MORV_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
