#!/usr/bin/env bash
# Runs every test: the native unit tests, the end-to-end tests under Wine (scripts/e2e.sh says
# which run for which build), and the check that the shipped programs start on Windows XP. Each
# suite writes a GoogleTest XML report; the run ends with one line "N passed, N failed", with
# ", N skipped" after it when the 32-bit suites could not run here.
set -uo pipefail
cd "$(dirname "$0")/.."
reports=build/reports
rm -rf "$reports" && mkdir -p "$reports"

native_tests=(build/native/tests/unit/unit_tests build/native/tools/roomsim/tests/roomsim_unit_tests)
echo "== unit tests (native, sanitizers)"
for exe in "${native_tests[@]}"; do
  "$exe" --gtest_output="xml:$reports/$(basename "$exe").xml" --gtest_brief=1
done

echo "== end-to-end tests (Wine)"
scripts/with-display.sh scripts/e2e.sh "$reports"

echo "== the shipped programs start on Windows XP (PE headers and imports)"
scripts/check-imports.sh --xml "$reports/xp_imports.xml" \
  build/win32/bin/{tavik-varrow,roomsim}.exe build/win64/bin/{tavik-varrow,roomsim}.exe

echo "== signing (a throwaway certificate)"
scripts/sign-test.sh --xml "$reports/signing.xml" build/win64

suites=()
for exe in "${native_tests[@]}"; do suites+=("$(basename "$exe")"); done
suites+=(xp_imports signing)
if [[ -s $reports/e2e-runs.txt ]]; then
  mapfile -t -O "${#suites[@]}" suites <"$reports/e2e-runs.txt"
else
  suites+=(e2e)  # the end-to-end run did not even start
fi

passed=0
failed=0
skipped=0
for name in "${suites[@]}"; do
  xml="$reports/$name.xml"
  if [[ ! -s "$xml" ]]; then
    echo "$name: no report (the program crashed or did not start)"
    failed=$((failed + 1))
    continue
  fi
  head=$(grep -m1 '<testsuites' "$xml")
  tests=$(sed -E 's/.* tests="([0-9]+)".*/\1/' <<<"$head")
  failures=$(sed -E 's/.* failures="([0-9]+)".*/\1/' <<<"$head")
  errors=$(sed -E 's/.* errors="([0-9]+)".*/\1/' <<<"$head")
  disabled=$(sed -E 's/.* disabled="([0-9]+)".*/\1/' <<<"$head")
  skip=$(sed -nE 's/.* skipped="([0-9]+)".*/\1/p' <<<"$head")
  bad=$((failures + errors))
  passed=$((passed + tests - disabled - ${skip:-0} - bad))
  failed=$((failed + bad))
  skipped=$((skipped + ${skip:-0}))
done
echo "$passed passed, $failed failed$([[ $skipped -gt 0 ]] && echo ", $skipped skipped")"
[[ $failed -eq 0 ]]
