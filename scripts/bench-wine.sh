#!/usr/bin/env bash
# Figures of the real programs under Wine: scan tick against its floor, command latency, start-up,
# the tool under a flood of strangers, and the idle cost of the tool (CPU and memory from /proc of
# its Wine process).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
wine_prefix_ready
wineserver -p || true  # already running is fine
bench="$WIN_BIN/wine_bench.exe"

echo "== scan tick (read, tail, parse, event) against WM_GETTEXTLENGTH + WM_GETTEXT"
wine "$bench" scan
echo
echo "== command latency (50 commands at random moments)"
wine "$bench" latency
echo
echo "== start-up (warm prefix)"
wine "$bench" startup
echo
echo "== strangers flooding the room for ${FLOOD_SECONDS:=40} s (600 makes a soak of it)"
wine "$bench" flood "$FLOOD_SECONDS"
echo

echo "== idle cost over ${IDLE_SECONDS:=60} s, scanning on, quiet room"
wine "$WIN_BIN/roomsim.exe" >/dev/null 2>&1 &
wine "$WIN_BIN/tavik-varrow.exe" >/dev/null 2>&1 &
pid=""
for _ in $(seq 1 200); do
  pid=$(pgrep -f 'tavik-varrow.exe' | head -n1 || true)
  [[ -n "$pid" ]] && break
  sleep 0.1
done
[[ -n "$pid" ]] || { echo "the tool did not start" >&2; exit 1; }
wine "$bench" tick-chat-scan
sleep 3  # let start-up settle before the measured minute
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
server=$(pgrep -x wineserver | head -n1 || pgrep -f wineserver | head -n1)
t0=$(cpu "$pid"); s0=$(cpu "$server")
sleep "$IDLE_SECONDS"
t1=$(cpu "$pid"); s1=$(cpu "$server")
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
awk -v t=$((t1 - t0)) -v s=$((s1 - s0)) -v hz="$ticks" -v secs="$IDLE_SECONDS" -v rss="$rss" 'BEGIN {
  printf "tool process:  %.2f CPU s = %.3f%% of one core\n", t / hz, 100 * t / hz / secs
  printf "wineserver:    %.2f CPU s = %.3f%% of one core (serves every Wine process)\n", s / hz, 100 * s / hz / secs
  printf "resident set:  %.1f MB (Linux RSS of the Wine process)\n", rss / 1024
}'
wineserver -k
