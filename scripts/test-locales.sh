#!/usr/bin/env bash
# The chat round trips of e2e_tool_locale in every ANSI code page the tool is tested in, each
# under the Unix locale that gives it in Wine (UTF-8, 65001, comes with a locale that has no ANSI
# code page of its own). One line per code page, then "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
wine_start
logs=build/reports/locales
mkdir -p "$logs"
passed=0
failed=0
for entry in 932:ja_JP 936:zh_CN 949:ko_KR 1251:ru_RU 1252:en_US 65001:hi_IN; do
  cp=${entry%%:*} locale=${entry#*:}.UTF-8
  if LC_ALL=$locale TV_CODE_PAGE=$cp timeout 600 wine "$WIN_BIN/e2e_tool_locale.exe" \
    --gtest_brief=1 >"$logs/cp$cp.log" 2>&1; then
    echo "code page $cp ($locale): passed"
    passed=$((passed + 1))
  else
    echo "code page $cp ($locale): FAILED (log: $logs/cp$cp.log)"
    grep -m5 -A3 'Failure' "$logs/cp$cp.log" | cut -c1-300
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
