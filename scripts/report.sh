# Sourced by the scripts whose results make test counts: GoogleTest-style XML reports, the one
# format of every suite, whether a GoogleTest program or a script wrote it.
#   xml_option "$@" && shift 2   REPORT is the file of "--xml FILE" (else empty)
#   report_case NAME [FAILURE]   a case that passed, or failed with that text
#   report_skip NAME WHY         a case that did not run
#   write_report FILE SUITE      those cases into FILE (none when FILE is empty), and no more
#                                cases; fails when any failed
#   expect_report FILE           one failure in FILE until the suite writes its report there
#   run_gtest FILE PROGRAM...    runs a GoogleTest program (a command line) with FILE its report,
#                                which a Windows one under Wine finds on drive $REPORT_DRIVE (Z:)
#   count_reports FILE...        "N passed, N failed[, N skipped]" over them; fails on a failure

CASES=() # the <testcase> elements so far

xml_option() {
  REPORT=""
  [[ ${1:-} == --xml ]] || return 1
  [[ -n ${2:-} ]] || { echo "$0: --xml needs a file" >&2; exit 2; }
  REPORT=$2
}

_xml_text() {
  local s=$1
  s=${s//&/'&amp;'} s=${s//</'&lt;'} s=${s//>/'&gt;'} s=${s//\"/'&quot;'}
  printf '%s' "$s"
}
report_case() {
  local end=" />"
  [[ -z ${2:-} ]] || end="><failure message=\"$(_xml_text "$2")\" type=\"\" /></testcase>"
  CASES+=("<testcase name=\"$(_xml_text "$1")\" status=\"run\" result=\"completed\"$end")
}
report_skip() {
  CASES+=("<testcase name=\"$(_xml_text "$1")\" status=\"run\" result=\"skipped\"><skipped message=\"$(_xml_text "$2")\" /></testcase>")
}

write_report() {
  local xml=$1 suite counts c failed=0 skipped=0
  suite=$(_xml_text "$2")
  for c in "${CASES[@]}"; do
    [[ $c != *"<failure "* ]] || failed=$((failed + 1))
    [[ $c != *"<skipped "* ]] || skipped=$((skipped + 1))
  done
  counts="tests=\"${#CASES[@]}\" failures=\"$failed\" disabled=\"0\""
  [[ -z $xml ]] || printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' \
    "<testsuites $counts errors=\"0\" name=\"AllTests\">" \
    "  <testsuite name=\"$suite\" $counts skipped=\"$skipped\" errors=\"0\">" \
    "${CASES[@]/#/    }" "  </testsuite>" "</testsuites>" >"$xml"
  CASES=()
  [[ $failed -eq 0 ]]
}

# So that a suite which crashes, hangs or never starts counts as failed.
expect_report() {
  report_case "$(basename "$1" .xml)" "wrote no report: it crashed, hung or did not start"
  write_report "$1" "$(basename "$1" .xml)" || true
}

# GoogleTest writes its report only at the end. A program that exits non-zero after a report of no
# failure (a leak found at exit, a crash in teardown) fails in a report of its own.
run_gtest() {
  local xml=$1 rc
  shift
  expect_report "$xml"
  "$@" --gtest_output="xml:${REPORT_DRIVE:-}$xml" --gtest_brief=1
  rc=$?
  if [[ $rc -ne 0 ]] && count_reports "$xml" >/dev/null; then
    report_case "$(basename "$xml" .xml)" "exited with status $rc after a report of no failure"
    write_report "${xml%.xml}.exit.xml" "$(basename "$xml" .xml)" || true
  fi
  return $rc
}

# Counted by <testsuite> (GoogleTest puts "skipped" there only); a report without its closing
# tag was cut short and counts as one failure, as does a missing one.
count_reports() {
  local xml counts tests bad disabled skip passed=0 failed=0 skipped=0
  for xml; do
    if ! counts=$(awk '
      function attr(name) {
        return match($0, " " name "=\"[0-9]+\"") ? substr($0, RSTART + length(name) + 3, RLENGTH - length(name) - 4) : 0
      }
      /<testsuite / { t += attr("tests"); f += attr("failures") + attr("errors"); d += attr("disabled"); s += attr("skipped") }
      /<\/testsuites>/ { whole = 1 }
      END { if (!whole) exit 1; print t + 0, f + 0, d + 0, s + 0 }' "$xml" 2>/dev/null); then
      echo "$(basename "$xml" .xml): no whole report (the program crashed or did not start)"
      failed=$((failed + 1))
      continue
    fi
    read -r tests bad disabled skip <<<"$counts"
    passed=$((passed + tests - disabled - skip - bad))
    failed=$((failed + bad))
    skipped=$((skipped + skip))
  done
  echo "$passed passed, $failed failed$([[ $skipped -gt 0 ]] && echo ", $skipped skipped")"
  [[ $failed -eq 0 ]]
}
