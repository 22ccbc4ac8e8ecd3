# Cross-builds the core, the command line and the core tests for 64-bit Windows with
# MinGW-w64 (Debian's g++-mingw-w64-x86-64-posix). The runtime is linked statically, so the
# .exe files run on a machine (or under Wine) without MinGW's DLLs beside them.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DPLUVANE_GUI=OFF ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PLUVANE_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${PLUVANE_MINGW_PREFIX}-gcc-posix ${PLUVANE_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${PLUVANE_MINGW_PREFIX}-g++-posix ${PLUVANE_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PLUVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PLUVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests and build tools run through Wine.
find_program(PLUVANE_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(PLUVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PLUVANE_WINE})
endif()
