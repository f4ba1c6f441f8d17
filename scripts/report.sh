# Sourced by the script checks that make test counts: a GoogleTest-style XML report from cases
# "name|failure text" (an empty text passed). write_report FILE SUITE CASE... writes it (nothing
# when FILE is empty) and fails when any case failed.
write_report() {
  local xml=$1 suite=$2 failures=0 c
  shift 2
  for c in "$@"; do [[ -n ${c#*|} ]] && failures=$((failures + 1)); done
  _report_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g'; }
  if [[ -n $xml ]]; then
    {
      echo '<?xml version="1.0" encoding="UTF-8"?>'
      echo "<testsuites tests=\"$#\" failures=\"$failures\" disabled=\"0\" errors=\"0\" name=\"AllTests\">"
      echo "  <testsuite name=\"$suite\" tests=\"$#\" failures=\"$failures\" disabled=\"0\" errors=\"0\">"
      for c in "$@"; do
        echo "    <testcase name=\"$(_report_escape <<<"${c%%|*}")\" status=\"run\" result=\"completed\" classname=\"$suite\">"
        [[ -z ${c#*|} ]] || echo "      <failure message=\"$(_report_escape <<<"${c#*|}")\" type=\"\" />"
        echo "    </testcase>"
      done
      echo "  </testsuite>"
      echo "</testsuites>"
    } >"$xml"
  fi
  [[ $failures -eq 0 ]]
}
