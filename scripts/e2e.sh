#!/usr/bin/env bash
# The end-to-end drivers under Wine, each writing its XML report into the folder given, and the
# list of the reports to expect in e2e-runs.txt there:
# - every driver of the 64-bit build (build/win64/bin); where Wine runs 32-bit programs, its chat
#   tests run against the 32-bit roomsim instead of its own, as the tool meets the usual 32-bit
#   AIM clients;
# - there too, the 32-bit build's drivers named in WIN32_SUITES, and most of its chat tests
#   against the 64-bit roomsim;
# - where Wine cannot run 32-bit programs, those runs as skipped, counted from the 64-bit
#   drivers' test lists.
set -uo pipefail
cd "$(dirname "$0")/.."
reports=${1:-build/reports}
mkdir -p "$reports"
source scripts/wine-env.sh
# The installer folder of scripts/package.sh, as a Windows path, for e2e_package.
export TV_PACKAGE_DIR="Z:$(realpath -m "${TV_PACKAGE_DIR:-build/package}")"
wine_prefix_ready
wineserver -p || true  # one wineserver for the whole run; already running is fine

# The 32-bit build's share, to keep the time: every suite but the tool's chat round trips, which
# run across the bitnesses instead.
WIN32_SUITES=${WIN32_SUITES:-e2e_tool_window e2e_package}

status=0
runs="$reports/e2e-runs.txt"
: >"$runs"

run() {  # report name, driver, then NAME=value settings for it (GTEST_FILTER picks tests)
  local name=$1 exe=$2
  shift 2
  echo "$name" >>"$runs"
  echo "-- $name"
  env "$@" timeout 600 wine "$exe" --gtest_output="xml:$reports/$name.xml" --gtest_brief=1 ||
    status=1
}

skip() {  # report name, the 64-bit driver with the same tests, then settings as for run
  local name=$1 exe=$2 count
  shift 2
  count=$(env "$@" wine "$exe" --gtest_list_tests 2>/dev/null | grep -c '^  ')
  echo "$name" >>"$runs"
  echo "-- $name: $count skipped"
  cat >"$reports/$name.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="$count" failures="0" disabled="0" errors="0" skipped="$count" name="AllTests">
  <!-- not run: $TV_WINE32_WHY -->
</testsuites>
EOF
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
wineserver -k
exit $status
