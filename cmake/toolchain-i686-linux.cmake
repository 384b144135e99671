# 32-bit x86 Linux with the host's multilib compilers (g++-multilib) and the
# i386 libraries of the multiarch tree. The programs run under qemu-i386,
# called directly: this needs no 32-bit support from the kernel and no
# binfmt_misc registration (which would slow 64-bit Wine).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# qemu-user cannot stop the threads of a process the way LeakSanitizer
# does at exit: the check spins for ever, so it is off here. The default
# quarantine of freed blocks fills the emulated 32-bit address space over
# the fault table's hundreds of runs. The sanitizers read their options
# from the emulator's own environment.
set(CMAKE_CROSSCOMPILING_EMULATOR env ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=16 qemu-i386)
