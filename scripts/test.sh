#!/usr/bin/env bash
# Runs every test: the native unit tests, then the end-to-end tests under Wine. Each suite writes
# a GoogleTest XML report; the run ends with one line "N passed, N failed".
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

passed=0
failed=0
for suite in "${native_tests[@]}" build/win64/bin/e2e_*.exe; do
  name=$(basename "$suite" .exe)
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
  bad=$((failures + errors))
  passed=$((passed + tests - disabled - bad))
  failed=$((failed + bad))
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
