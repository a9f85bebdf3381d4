# Cross-compiles Win32 programs for i686 with Debian's mingw-w64.
#
#   cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-w64-mingw32.cmake ...
#
# The posix thread model is used: with GCC 12 the win32 model has no std::mutex or
# std::thread. Linked with -static, its threading library (winpthread) goes into the
# .exe like the C and C++ runtimes, so the program imports only system DLLs
# (KERNEL32, USER32, ADVAPI32, WINMM, ... and msvcrt.dll for the C library).
# -static-libgcc -static-libstdc++ without -static still imports libwinpthread-1.dll.
#
# Every executable is a GUI program (-mwindows, through CMAKE_WIN32_EXECUTABLE).
# A console helper opts out with set_target_properties(T PROPERTIES WIN32_EXECUTABLE OFF).
# The test machines cannot run 32-bit x86 programs: this build is compiled and
# inspected (objdump -p), not run.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(MINGW_TRIPLE i686-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_TRIPLE}-windres REQUIRED)

# Headers and libraries come from the mingw-w64 sysroot only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_WIN32_EXECUTABLE ON)
