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

# Starts a program of this prefix, with arguments: its pid once it runs.
start_program() {
  wine "$@" >/dev/null 2>&1 &
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

# One idle phase over IDLE_SECONDS in the room as it stands: the tool of folder $3 scanning it
# ($3 empty: none; $4 "off": not scanning) and, when $5 is "poll", the poll-only program beside
# it; then both are ended. The wineserver serves every program of the prefix, so its figure is
# one program's only in a phase of that program alone.
idle_phase() {
  local room=$1 phase=$2 tool="" poll="" server before after t=0 p=0 s
  if [[ -n $3 ]]; then
    tool=$(start_program "$3/tavik-varrow.exe")
    [[ $4 == off ]] || wine "$bench" tick-chat-scan
  fi
  [[ $5 != poll ]] || poll=$(start_program "$WIN_BIN/poll_only.exe")
  server=$(server_pid)
  sleep 5 # start-up settles before the measured span
  before=$(cpu_ticks "$server" $tool $poll)
  sleep "$IDLE_SECONDS"
  after=$(cpu_ticks "$server" $tool $poll)
  for pid in $tool $poll; do end_program "$pid"; done
  read -r -a b <<<"$before"
  read -r -a a <<<"$after"
  s=$((a[0] - b[0]))
  [[ -z $tool ]] || t=$((a[1] - b[1]))
  [[ -z $poll ]] || p=$((a[-1] - b[-1]))
  rows+=("$(awk -v room="$room" -v phase="$phase" -v t=$t -v p=$p -v tool="$tool" -v poll="$poll" \
    -v s=$s -v hz="$hz" -v secs="$IDLE_SECONDS" 'function cell(x, on) {
      return on ? sprintf("%7.2f %7.3f%%", x / hz, 100 * x / hz / secs) : sprintf("%7s %8s", "-", "-")
    } BEGIN {
    ratio = tool && poll && p > 0 ? sprintf("%.2f", t / p) : "-"
    printf("%-12s %-17s %s %s %9s %s\n", room, phase, cell(t, tool), cell(p, poll), ratio, cell(s, 1))
  }')")
  echo "${rows[-1]}"
}

# The phases of one room: each tool beside the poll-only program, then each program alone.
room_phases() {
  if [[ -n ${BASELINE_BIN:-} ]]; then idle_phase "$1" "before + poll" "$BASELINE_BIN" scan poll; fi
  idle_phase "$1" "after + poll" "$WIN_BIN" scan poll
  if [[ -n ${BASELINE_BIN:-} ]]; then idle_phase "$1" "before alone" "$BASELINE_BIN" scan -; fi
  idle_phase "$1" "after alone" "$WIN_BIN" scan -
  idle_phase "$1" "poll alone" "" - poll
}

if want idle; then
  echo "== idle cost over ${IDLE_SECONDS:=300} s a phase: the tool scanning a room beside a program"
  echo "   that only polls it each 500 ms (poll), each alone, then the tool not scanning; CPU"
  echo "   seconds and % of one core from /proc; the wineserver serves every Wine process"
  header=$(printf '%-12s %-17s %7s %8s %7s %8s %9s %7s %8s' room phase "tool s" "tool %" \
    "poll s" "poll %" "tool/poll" "server s" "server %")
  echo "$header"
  roomsim=$(start_program "$WIN_BIN/roomsim.exe")
  for room in "quiet 10 KB:10000:0" "quiet 1 MB:1000000:0" "busy 1 MB:1000000:5"; do
    IFS=: read -r label size every <<<"$room"
    wine "$bench" set-transcript "$size" >/dev/null
    chatter=""
    [[ $every == 0 ]] || chatter=$(start_program "$bench" chatter "$every")
    room_phases "$label"
    [[ -z $chatter ]] || end_program "$chatter"
  done
  idle_phase "-" "scan off" "$WIN_BIN" off -
  end_program "$roomsim"
  echo
  echo "idle cost over $IDLE_SECONDS s a phase"
  echo "$header"
  printf '%s\n' "${rows[@]}"
fi
exit "$status"
