#!/usr/bin/env bash
# Runs every test: the native unit tests, the end-to-end tests under Wine (scripts/e2e.sh says
# which run for which build), and the check that the shipped programs start on Windows XP. Each
# suite writes a GoogleTest XML report into build/reports; the run ends with one line
# "N passed, N failed", with ", N skipped" after it when the 32-bit suites could not run here.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/report.sh
reports=build/reports
rm -rf "$reports" && mkdir -p "$reports"

native_tests=(build/native/tests/unit/unit_tests build/native/tools/roomsim/tests/roomsim_unit_tests)
echo "== unit tests (native, sanitizers)"
for exe in "${native_tests[@]}"; do
  run_gtest "$reports/$(basename "$exe").xml" "$exe"
done

echo "== end-to-end tests (Wine)"
scripts/with-display.sh scripts/e2e.sh "$reports"
if ! compgen -G "$reports/e2e_*.xml" >/dev/null; then
  report_case e2e "the end-to-end run did not start"
  write_report "$reports/e2e.xml" e2e
fi

echo "== the shipped programs start on Windows XP (PE headers and imports)"
expect_report "$reports/xp_imports.xml"
scripts/check-imports.sh --xml "$reports/xp_imports.xml" \
  build/win32/bin/{tavik-varrow,roomsim}.exe build/win64/bin/{tavik-varrow,roomsim}.exe

echo "== signing (a throwaway certificate)"
expect_report "$reports/signing.xml"
scripts/sign-test.sh --xml "$reports/signing.xml" build/win64

count_reports "$reports"/*.xml
