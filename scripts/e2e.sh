#!/usr/bin/env bash
# The end-to-end drivers under Wine, each writing its XML report into the folder given.
set -uo pipefail
cd "$(dirname "$0")/.."
reports=${1:-build/reports}
source scripts/wine-env.sh
# The installer folder of scripts/package.sh, as a Windows path, for e2e_package.
export TV_PACKAGE_DIR="Z:$(realpath -m "${TV_PACKAGE_DIR:-build/package}")"
wine_prefix_ready
wineserver -p || true  # one wineserver for the whole run; already running is fine

status=0
for exe in "$WIN_BIN"/e2e_*.exe; do
  name=$(basename "$exe" .exe)
  echo "-- $name"
  timeout 600 wine "$exe" --gtest_output="xml:$reports/$name.xml" --gtest_brief=1 || status=1
done
wineserver -k
exit $status
