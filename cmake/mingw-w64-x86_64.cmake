# Cross build for 64-bit Windows with mingw-w64; the test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLIX_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model: with Debian's default (win32) the standard library has no std::mutex,
# which GoogleTest needs. Everything is linked statically, so nothing extra ships with the .exe.
set(CMAKE_C_COMPILER ${VORLIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORLIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VORLIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VORLIX_MINGW_PREFIX})
# Programs run on the build machine; headers and libraries must be the Windows ones.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(VORLIX_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VORLIX_WINE})
