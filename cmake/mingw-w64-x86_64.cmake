# Cross-compiles the 64-bit Windows programs with MinGW-w64: Windows XP x64 (5.2) and later.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(TV_MIN_WINDOWS 5.2)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
