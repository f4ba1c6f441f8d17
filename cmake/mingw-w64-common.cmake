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
# No link time in the PE header (nor, through it, a changing header checksum): two builds of one
# commit give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp -Wl,--major-subsystem-version,${_tv_major} -Wl,--minor-subsystem-version,${_tv_minor} -Wl,--major-os-version,${_tv_major} -Wl,--minor-os-version,${_tv_minor}")

# Nor the folders built in: file names in __FILE__ and debug information are relative to the
# source folder, those of generated files to the build folder (the later map is tried first).
get_filename_component(_tv_source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_C_FLAGS_INIT "-ffile-prefix-map=${_tv_source_dir}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
set(CMAKE_CXX_FLAGS_INIT "${CMAKE_C_FLAGS_INIT}")
