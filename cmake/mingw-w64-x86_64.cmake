# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers.
# The posix-thread variants give std::thread and std::mutex; everything is
# linked statically so that the programs need no MinGW DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARNELKO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNELKO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNELKO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNELKO_MINGW_PREFIX}-windres)

# Look for libraries and headers only in the MinGW tree (and in what the
# build itself adds); programs still come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VARNELKO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and test discovery run the programs through Wine.
find_program(VARNELKO_WINE NAMES wine wine64)
if(VARNELKO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VARNELKO_WINE})
endif()
