#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UBSan) in build/fuzz and runs each for
# FUZZ_SECONDS seconds (default 60) from its seeds in fuzz/corpus/<target>. Inputs the fuzzer
# finds go to build/fuzz/corpus/<target>, so the committed seeds stay small; crashes go to
# build/fuzz/artifacts/<target>/. Ends with one line per target; fails when any target crashed.
# Usage: scripts/fuzz.sh [target...]   (targets: text number interpreter)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

seconds=${FUZZ_SECONDS:-60}
build=build/fuzz
targets=(text number interpreter)
[[ $# -gt 0 ]] && targets=("$@")

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTV_FUZZ=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1
cmake --build "$build" --target fuzzers || exit 1

summary=()
crashed=0
for t in "${targets[@]}"; do
  seeds=fuzz/corpus/$t
  [[ -d $seeds ]] || { echo "no such fuzz target: $t" >&2; exit 2; }
  corpus=$build/corpus/$t
  artifacts=$build/artifacts/$t
  log=$build/logs/$t.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  rm -f "$artifacts"/*
  dict=()
  [[ -f fuzz/dict/$t.dict ]] && dict=(-dict="fuzz/dict/$t.dict")
  echo "== $t: ${seconds}s"
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "${dict[@]}" "$corpus" "$seeds" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  # A crash ends the run before the final figures: take the last progress line's count then.
  [[ -n $runs ]] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
  found=$(find "$artifacts" -type f | wc -l)
  if [[ $rc -ne 0 || $found -gt 0 ]]; then
    crashed=1
    grep -m3 -E 'property failed|ERROR|runtime error' "$log"
    echo "   log: $log; reproduce: $build/fuzz/fuzz_$t $(find "$artifacts" -type f | head -1)"
  fi
  summary+=("$(printf '%-12s %10s executions %7s/s  %d crash(es)  corpus %d' "$t" "${runs:-?}" \
    "${rate:-?}" "$found" "$(find "$corpus" -type f | wc -l)")")
done

echo "== summary (${seconds}s per target)"
printf '%s\n' "${summary[@]}"
exit "$crashed"
