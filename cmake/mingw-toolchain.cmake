# Shared by the toolchain files: MORV_MINGW_ARCH (i686 or x86_64) and
# MORV_MINGW_THREADS (win32 or posix) are set by the file that includes this.
#
# What ships (Morv.dll, morv-agent.exe) is built with the win32-threads
# compilers: their runtime needs nothing newer than Windows 95 and NT 4.0,
# where the posix-threads runtime (winpthreads) imports functions of XP and
# Vista. The Windows GoogleTest executables need std::mutex and std::thread
# and are built with the posix-threads compilers (toolchain-*-posix.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(MORV_MINGW_TRIPLE ${MORV_MINGW_ARCH}-w64-mingw32)
if(MORV_MINGW_ARCH STREQUAL "i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
  # The compilers default to the Pentium Pro (cmov, fcomi); the module also
  # serves the Pentium, K5, K6 and Cyrix 6x86, which have neither.
  set(CMAKE_C_FLAGS_INIT "-march=i586 -mtune=generic")
  set(CMAKE_CXX_FLAGS_INIT "-march=i586 -mtune=generic")
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()
set(CMAKE_C_COMPILER ${MORV_MINGW_TRIPLE}-gcc-${MORV_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MORV_MINGW_TRIPLE}-g++-${MORV_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MORV_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MORV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The toolchain of the same architecture for the GoogleTest executables.
set(MORV_GTEST_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/toolchain-${MORV_MINGW_ARCH}-mingw32-posix.cmake)
