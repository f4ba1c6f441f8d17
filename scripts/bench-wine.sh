#!/usr/bin/env bash
# Figures of the real programs under Wine: scan tick against its floor, command latency, start-up,
# the tool under a flood of strangers, a soak of every command in a busy room, and the idle cost
# of the tool against a program that only polls the room (CPU from /proc of the Wine processes).
#
#   IDLE_SECONDS    each idle phase (300; /proc counts 10 ms ticks, so shorter is too coarse)
#   SOAK_MINUTES    the soak (2; 30 is the real soak)
#   FLOOD_SECONDS   the flood (40)
#   BASELINE_BIN    a folder holding an earlier tavik-varrow.exe, measured idle before this one
#   BASELINE_REV    a git revision whose win64 tool is built for BASELINE_BIN, in a worktree
#                   under BASELINE_DIR (build/baseline)
#   BENCH_SECTIONS  which to run (all): scan latency startup flood soak idle
#   WIN_BIN         the folder of the win64 programs (build/win64/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
sections=" ${BENCH_SECTIONS:-scan latency startup flood soak idle} "
want() { [[ $sections == *" $1 "* ]]; }

# Built first: a revision that does not build should not cost the other figures' time.
if [[ -n ${BASELINE_REV:-} ]]; then
  base=${BASELINE_DIR:-$PWD/build/baseline}
  rev=$(git rev-parse --verify "$BASELINE_REV^{commit}")
  if [[ -e $base/src/.git ]]; then
    git -C "$base/src" checkout --quiet --detach "$rev"
  else
    mkdir -p "$base"
    git worktree add --quiet --detach "$base/src" "$rev"
  fi
  toolchain=$base/src/cmake/mingw-w64-x86_64.cmake
  [[ -f $toolchain ]] || toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
  echo "== the baseline tool: $BASELINE_REV (${rev:0:12}), built in $base/win64"
  cmake -S "$base/src" -B "$base/win64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$base/win64" --target tavik-varrow
  BASELINE_BIN=$base/win64/bin
  echo
fi
if [[ -n ${BASELINE_BIN:-} && ! -f $BASELINE_BIN/tavik-varrow.exe ]]; then
  echo "BASELINE_BIN=$BASELINE_BIN holds no tavik-varrow.exe" >&2
  exit 1
fi

wine_start
bench="$WIN_BIN/wine_bench.exe"
status=0

# One section of wine_bench.exe: its name, its heading, then the program's arguments.
section() {
  want "$1" || return 0
  echo "== $2"
  wine "$bench" "${@:3}"
  echo
}
section scan "scan tick (read, tail, parse, event) against WM_GETTEXTLENGTH + WM_GETTEXT" scan
section latency "command latency (50 commands at random moments)" latency
section startup "start-up (warm prefix)" startup
section flood "strangers flooding the room for ${FLOOD_SECONDS:=40} s" flood "$FLOOD_SECONDS"
if want soak; then
  echo "== soak of ${SOAK_MINUTES:=2} min: every command answered in a busy room, the tool's holdings"
  echo "   (the real soak: SOAK_MINUTES=30 BENCH_SECTIONS=soak scripts/with-display.sh scripts/bench-wine.sh)"
  wine "$bench" soak "$SOAK_MINUTES" || status=$?
  echo
fi

# The first process of this prefix for which the test $1 (given /proc/<pid>) holds.
prefix_pid() {
  local p
  for p in /proc/[0-9]*; do
    "$1" "$p" || continue
    if grep -qzxF "WINEPREFIX=$WINEPREFIX" "$p/environ" 2>/dev/null; then
      echo "${p#/proc/}"
      return 0
    fi
  done
  return 1
}
runs_program() {
  local arg0
  IFS= read -r -d "" arg0 2>/dev/null <"$1/cmdline" || return 1
  arg0=${arg0,,}
  [[ $arg0 == "$program_unix" || $arg0 == "$program_windows" ]]
}
is_wineserver() {
  local comm
  read -r comm 2>/dev/null <"$1/comm" && [[ $comm == wineserver* ]]
}
# The Wine process of this prefix that runs the program at $1, started from Linux (its path as
# given) or from Windows (its path on drive Z:).
wine_pid() {
  program_unix=${1,,} program_windows="z:${1//\//\\}"
  program_windows=${program_windows,,}
  prefix_pid runs_program
}
server_pid() { prefix_pid is_wineserver; }

alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  [[ ${stat##*) } != Z* ]]
}

# utime + stime of all its threads, in clock ticks, of each process given.
cpu_ticks() {
  local pid stat fields
  for pid; do
    stat=$(cat "/proc/$pid/stat" 2>/dev/null) || {
      echo "process $pid is gone" >&2
      return 1
    }
    read -r -a fields <<<"${stat##*) }" # from field 3, the state
    echo -n "$((fields[11] + fields[12])) "
  done
}

start_program() {
  wine "$1" >/dev/null 2>&1 &
  local pid
  for _ in $(seq 1 300); do
    if pid=$(wine_pid "$1"); then
      echo "$pid"
      return 0
    fi
    sleep 0.1
  done
  echo "$1 did not start" >&2
  return 1
}

end_program() {
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 1 100); do
    alive "$1" || return 0
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null || true
}

hz=$(getconf CLK_TCK)
rows=()

# One idle phase: the tool of folder $3, "Chat Scan" ticked and the poll-only program beside it
# when $4 is "scan", measured over IDLE_SECONDS; then both are ended.
idle_phase() {
  local size=$1 phase=$2 tool poll="" server before after t0 t1 p0 p1 s0 s1
  tool=$(start_program "$3/tavik-varrow.exe")
  if [[ $4 == scan ]]; then
    wine "$bench" tick-chat-scan
    poll=$(start_program "$WIN_BIN/poll_only.exe")
  fi
  server=$(server_pid)
  sleep 5 # start-up settles before the measured span
  before=$(cpu_ticks "$tool" "$server" ${poll:+"$poll"})
  sleep "$IDLE_SECONDS"
  after=$(cpu_ticks "$tool" "$server" ${poll:+"$poll"})
  end_program "$tool"
  [[ -z $poll ]] || end_program "$poll"
  read -r t0 s0 p0 <<<"$before"
  read -r t1 s1 p1 <<<"$after"
  rows+=("$(awk -v size="$size" -v phase="$phase" -v t=$((t1 - t0)) -v p=$((${p1:-0} - ${p0:-0})) \
    -v polled="${poll:+1}" -v s=$((s1 - s0)) -v hz="$hz" -v secs="$IDLE_SECONDS" 'BEGIN {
    printf("%-10s %-9s %7.2f %7.3f%% ", size, phase, t / hz, 100 * t / hz / secs)
    if (polled) {
      ratio = p > 0 ? sprintf("%.2f", t / p) : "n/a"
      printf("%7.2f %7.3f%% %9s ", p / hz, 100 * p / hz / secs, ratio)
    } else {
      printf("%7s %8s %9s ", "-", "-", "-")
    }
    printf("%8.2f %7.3f%%\n", s / hz, 100 * s / hz / secs)
  }')")
  echo "${rows[-1]}"
}

if want idle; then
  echo "== idle cost over ${IDLE_SECONDS:=300} s a phase: the tool scanning a quiet room beside a"
  echo "   program that only polls it each 500 ms (poll), then the tool alone, not scanning; CPU"
  echo "   seconds and % of one core from /proc; the wineserver serves every Wine process"
  header=$(printf '%-10s %-9s %7s %8s %7s %8s %9s %8s %8s' transcript phase "tool s" "tool %" \
    "poll s" "poll %" "tool/poll" "server s" "server %")
  echo "$header"
  roomsim=$(start_program "$WIN_BIN/roomsim.exe")
  for size in 10000 1000000; do
    label="$((size / 1000)) KB"
    [[ $size -lt 1000000 ]] || label="$((size / 1000000)) MB"
    wine "$bench" set-transcript "$size" >/dev/null
    if [[ -n ${BASELINE_BIN:-} ]]; then idle_phase "$label" before "$BASELINE_BIN" scan; fi
    idle_phase "$label" after "$WIN_BIN" scan
  done
  idle_phase "-" "scan off" "$WIN_BIN" off
  end_program "$roomsim"
  echo
  echo "idle cost over $IDLE_SECONDS s a phase"
  echo "$header"
  printf '%s\n' "${rows[@]}"
fi
exit "$status"
