#!/usr/bin/env bash
# Runs every test: the native unit tests; the packages of both Windows builds, made once, signed
# with a throwaway certificate (scripts/sign-test.sh), their programs checked to start on Windows
# XP; and the end-to-end tests under Wine (scripts/e2e.sh says which run for which build), which
# install those packages. Each suite writes a GoogleTest XML report into build/reports; the run
# ends with one line "N passed, N failed", with ", N skipped" after it when the 32-bit suites
# could not run here.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/report.sh
reports=build/reports
packages=build/test-package
rm -rf "$reports" && mkdir -p "$reports"

native_tests=(build/native/tests/unit/unit_tests build/native/tools/roomsim/tests/roomsim_unit_tests)
echo "== unit tests (native, sanitizers)"
for exe in "${native_tests[@]}"; do
  run_gtest "$reports/$(basename "$exe").xml" "$exe"
done

echo "== the packages, signed with a throwaway certificate; the programs in them start on Windows XP"
expect_report "$reports/xp_imports.xml"
expect_report "$reports/signing.xml"
TV_XP_REPORT=$reports/xp_imports.xml scripts/sign-test.sh --xml "$reports/signing.xml" "$packages"

echo "== end-to-end tests (Wine)"
TV_PACKAGE_DIR=$packages scripts/with-display.sh scripts/e2e.sh "$reports"
if ! compgen -G "$reports/e2e_*.xml" >/dev/null; then
  report_case e2e "the end-to-end run did not start"
  write_report "$reports/e2e.xml" e2e
fi

count_reports "$reports"/*.xml
