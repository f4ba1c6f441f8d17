#!/usr/bin/env bash
# The end-to-end drivers under Wine, each writing its report into the folder given:
# - every driver of the 64-bit build (build/win64/bin); where Wine runs 32-bit programs, its chat
#   tests run against the 32-bit roomsim instead of its own, as the tool meets the usual 32-bit
#   AIM clients;
# - there too, the 32-bit build's drivers named in WIN32_SUITES, and most of its chat tests
#   against the 64-bit roomsim;
# - where Wine cannot run 32-bit programs, those runs as skipped, each test named from the 64-bit
#   driver's list.
# Ends with "N passed, N failed[, N skipped]" over these runs, and fails when any test failed.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/report.sh
source scripts/wine-env.sh
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

run() {  # report name, driver, then NAME=value settings for it (GTEST_FILTER picks tests)
  local name=$1 exe=$2
  shift 2
  echo "-- $name"
  run_gtest "$reports/$name.xml" env "$@" timeout 600 wine "$exe"
}

skip() {  # report name, the 64-bit driver with the same tests, then settings as for run
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

# The 32-bit tool's chat tests leave out the slowest (the clear timer's, a minute), which tests its
# timing rather than anything that differs by bitness.
reverse_filter="GTEST_FILTER=-*ClearTimer*"

# The drivers that tests/e2e builds, by name: a build folder may still hold ones since dropped.
for name in e2e_package e2e_tool_chat e2e_tool_window; do
  exe="$WIN_BIN/$name.exe"
  if [[ $TV_WINE32 == 1 && $name == e2e_tool_chat ]]; then
    run "$name.tool64-roomsim32" "$exe" TV_ROOMSIM_DIR="Z:$WIN32_BIN"
  else
    run "$name" "$exe"
  fi
done

# The chat round trips in other ANSI code pages, which Wine takes from each process's Unix locale:
# a double-byte one, Cyrillic and Western every time (code page:locale); scripts/test-locales.sh
# runs all.
for entry in ${TV_LOCALES:-932:ja_JP 1251:ru_RU 1252:en_US}; do
  run "e2e_tool_locale.cp${entry%%:*}" "$WIN_BIN/e2e_tool_locale.exe" \
    LC_ALL="${entry#*:}.UTF-8" TV_CODE_PAGE="${entry%%:*}"
done

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
count_reports "$reports"/e2e_*.xml
