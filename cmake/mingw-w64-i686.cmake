# Cross-compiles the 32-bit Windows programs with MinGW-w64: Windows XP (5.1) and later.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(TV_MIN_WINDOWS 5.1)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
