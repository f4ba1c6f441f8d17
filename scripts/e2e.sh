#!/usr/bin/env bash
# The end-to-end drivers under Wine, each writing its XML report into the folder given, and the
# list of the reports to expect in e2e-runs.txt there:
# - every driver of the 64-bit build (build/win64/bin);
# - where Wine runs 32-bit programs, the 32-bit build's drivers named in WIN32_SUITES, and the
#   chat tests with the tool and roomsim of different bitness (a 32-bit AIM client beside the
#   64-bit tool, and the other way round);
# - where it does not, the same runs as skipped, counted from the 64-bit drivers' test lists.
set -uo pipefail
cd "$(dirname "$0")/.."
reports=${1:-build/reports}
mkdir -p "$reports"
source scripts/wine-env.sh
# The installer folder of scripts/package.sh, as a Windows path, for e2e_package.
export TV_PACKAGE_DIR="Z:$(realpath -m "${TV_PACKAGE_DIR:-build/package}")"
wine_prefix_ready
wineserver -p || true  # one wineserver for the whole run; already running is fine

# The 32-bit build's share, to keep the time: every suite but the two long ones of the tool's
# own logic (e2e_tool_fault's hangs and floods, 2.5 minutes) and its chat round trips, which
# run across the bitnesses instead.
WIN32_SUITES=${WIN32_SUITES:-e2e_sysinfo e2e_chat_window e2e_interpreter e2e_roomsim e2e_tool_window e2e_package}

status=0
runs="$reports/e2e-runs.txt"
: >"$runs"

run() {  # report name, driver, then NAME=value settings for it
  local name=$1 exe=$2
  shift 2
  echo "$name" >>"$runs"
  echo "-- $name"
  env "$@" timeout 600 wine "$exe" --gtest_output="xml:$reports/$name.xml" --gtest_brief=1 ||
    status=1
}

skip() {  # report name, the 64-bit driver with the same tests
  local name=$1 count
  count=$(wine "$2" --gtest_list_tests 2>/dev/null | grep -c '^  ')
  echo "$name" >>"$runs"
  echo "-- $name: $count skipped"
  cat >"$reports/$name.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="$count" failures="0" disabled="0" errors="0" skipped="$count" name="AllTests">
  <!-- not run: $TV_WINE32_WHY -->
</testsuites>
EOF
}

for exe in "$WIN_BIN"/e2e_*.exe; do
  run "$(basename "$exe" .exe)" "$exe"
done

mixed_tool64="e2e_tool_chat.tool64-roomsim32"
mixed_tool32="e2e_tool_chat.tool32-roomsim64"
if [[ $TV_WINE32 == 1 ]]; then
  for suite in $WIN32_SUITES; do
    run "$suite.win32" "$WIN32_BIN/$suite.exe"
  done
  run "$mixed_tool64" "$WIN_BIN/e2e_tool_chat.exe" TV_ROOMSIM_DIR="Z:$WIN32_BIN"
  run "$mixed_tool32" "$WIN32_BIN/e2e_tool_chat.exe" TV_ROOMSIM_DIR="Z:$WIN_BIN"
else
  echo "== 32-bit suites skipped: $TV_WINE32_WHY"
  for suite in $WIN32_SUITES; do
    skip "$suite.win32" "$WIN_BIN/$suite.exe"
  done
  skip "$mixed_tool64" "$WIN_BIN/e2e_tool_chat.exe"
  skip "$mixed_tool32" "$WIN_BIN/e2e_tool_chat.exe"
fi
wineserver -k
exit $status
