# Cross-compiles for 64-bit Windows from Linux with Debian's mingw-w64
# (package g++-mingw-w64-x86-64), statically linked: the one subscribers.exe
# runs without any DLL beside it.
#
#   cmake --preset windows && cmake --build --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SUBSCRIBERS_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${SUBSCRIBERS_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${SUBSCRIBERS_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${SUBSCRIBERS_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SUBSCRIBERS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Built programs run under wine where it is installed (tests, try_run).
find_program(SUBSCRIBERS_WINE NAMES wine64 wine)
if(SUBSCRIBERS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SUBSCRIBERS_WINE})
endif()
