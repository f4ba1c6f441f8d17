# Shared by the MinGW-w64 toolchain files, which set TOOLCHAIN_PREFIX, CMAKE_SYSTEM_PROCESSOR and
# TV_MIN_WINDOWS (the oldest Windows the programs start on, as "major.minor") first.
set(CMAKE_SYSTEM_NAME Windows)
# The win32 thread model: the posix one links winpthread, which imports GetTickCount64 (Vista and
# later), so the programs would not start on Windows XP. Nothing here needs std::thread.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The PE header names the oldest Windows the program is for, set here rather than left to the
# linker's defaults, which differ between the two targets and between binutils versions.
string(REPLACE "." ";" _tv_min_windows "${TV_MIN_WINDOWS}")
list(GET _tv_min_windows 0 _tv_major)
list(GET _tv_min_windows 1 _tv_minor)
# A static runtime: the exe runs on a bare Windows (or Wine) with no MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--major-subsystem-version,${_tv_major} -Wl,--minor-subsystem-version,${_tv_minor} -Wl,--major-os-version,${_tv_major} -Wl,--minor-os-version,${_tv_minor}")
