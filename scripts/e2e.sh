#!/usr/bin/env bash
# The end-to-end drivers under Wine, each writing its report into the folder given:
# - every driver of the 64-bit build (build/win64/bin); where Wine runs 32-bit programs, its chat
#   tests run against the 32-bit roomsim instead of its own, as the tool meets the usual 32-bit
#   AIM clients;
# - e2e_tool_locale in the code pages of tests/e2e/code-pages.txt that make test runs, each under
#   its Unix locale;
# - where Wine runs 32-bit programs, the 32-bit build's drivers named in WIN32_SUITES, and most of
#   its chat tests against the 64-bit roomsim; elsewhere those runs as skipped, each test named
#   from the 64-bit driver's list.
# With --locales, only e2e_tool_locale, in every code page of the list. Ends with
# "N passed, N failed[, N skipped]" over these runs, and fails when any test failed.
# Usage: scripts/e2e.sh [--locales] [REPORTS]   (REPORTS: build/reports)
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/report.sh
source scripts/wine-env.sh
locales_only=0
[[ ${1:-} == --locales ]] && locales_only=1 && shift
reports=$(realpath -m "${1:-build/reports}")
REPORT_DRIVE=Z:
mkdir -p "$reports"
rm -f "$reports"/e2e_*.xml
# The installer folder of scripts/package.sh, as a Windows path, for e2e_package.
export TV_PACKAGE_DIR="Z:$(realpath -m "${TV_PACKAGE_DIR:-build/package}")"
wine_start

# The 32-bit build's share, to keep the time: every suite but the tool's chat round trips, which
# run across the bitnesses instead.
WIN32_SUITES=${WIN32_SUITES:-e2e_tool_window e2e_package}
# The 32-bit tool's chat tests leave out the slowest (the clear timer's, a minute), which tests its
# timing rather than anything that differs by bitness.
reverse_filter="GTEST_FILTER=-*ClearTimer*"

run() { # report name, driver, then NAME=value settings for it (GTEST_FILTER picks tests)
  local name=$1 exe=$2
  shift 2
  echo "-- $name"
  run_gtest "$reports/$name.xml" env "$@" timeout 600 wine "$exe" </dev/null
}

skip() { # report name, the 64-bit driver with the same tests, then settings as for run
  local name=$1 exe=$2 test
  shift 2
  # Each test indented under its "Suite." line.
  while read -r test; do
    report_skip "$test" "$TV_WINE32_WHY"
  done < <(env "$@" wine "$exe" --gtest_list_tests </dev/null 2>/dev/null |
    awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }')
  echo "-- $name: ${#CASES[@]} skipped"
  write_report "$reports/$name.xml" "$name"
}

# The system DPI of the Wine programs started after it (Wine reads LogPixels as a process starts).
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

drivers64() {
  # The drivers that tests/e2e builds, by name: a build folder may still hold ones since dropped.
  for name in e2e_package e2e_tool_chat e2e_tool_window; do
    if [[ $TV_WINE32 == 1 && $name == e2e_tool_chat ]]; then
      run "$name.tool64-roomsim32" "$WIN_BIN/$name.exe" TV_ROOMSIM_DIR="Z:$WIN32_BIN"
    elif [[ $name == e2e_tool_window ]]; then
      # At 150 %, as on many a laptop; the 32-bit build's run stays at 96 DPI.
      set_dpi 144
      run "$name.dpi144" "$WIN_BIN/$name.exe"
      set_dpi 96
    else
      run "$name" "$WIN_BIN/$name.exe"
    fi
  done
}

code_pages() {
  local cp locale in_test
  # Code page, locale, and "test" where make test runs it.
  while read -r cp locale in_test; do
    [[ $locales_only == 1 || $in_test == test ]] || continue
    run "e2e_tool_locale.cp$cp" "$WIN_BIN/e2e_tool_locale.exe" LC_ALL="$locale.UTF-8" TV_CODE_PAGE="$cp"
  done < <(awk '!/^#/ && NF' tests/e2e/code-pages.txt)
}

drivers32() {
  if [[ $TV_WINE32 == 1 ]]; then
    for suite in $WIN32_SUITES; do
      run "$suite.win32" "$WIN32_BIN/$suite.exe"
    done
    run e2e_tool_chat.tool32-roomsim64 "$WIN32_BIN/e2e_tool_chat.exe" TV_ROOMSIM_DIR="Z:$WIN_BIN" \
      "$reverse_filter"
  else
    echo "== 32-bit suites skipped: $TV_WINE32_WHY"
    for suite in $WIN32_SUITES; do
      skip "$suite.win32" "$WIN_BIN/$suite.exe"
    done
    skip e2e_tool_chat.tool64-roomsim32 "$WIN_BIN/e2e_tool_chat.exe"
    skip e2e_tool_chat.tool32-roomsim64 "$WIN_BIN/e2e_tool_chat.exe" "$reverse_filter"
  fi
}

[[ $locales_only == 1 ]] || drivers64
code_pages
[[ $locales_only == 1 ]] || drivers32
count_reports "$reports"/e2e_*.xml
