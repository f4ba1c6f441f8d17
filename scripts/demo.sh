#!/usr/bin/env bash
# Starts roomsim and the tool side by side, fills the room with a few lines, and saves a
# screenshot to build/demo.png. On a private Xvfb it then ends; on a real display the programs
# stay until you close them.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
wine_prefix_ready

wait_for_window() {  # title pattern
  for _ in $(seq 1 300); do
    xwininfo -root -tree 2>/dev/null | grep -q "$1" && return 0
    sleep 0.1
  done
  echo "demo: no window matching '$1' appeared" >&2
  return 1
}

wine "$WIN_BIN/roomsim.exe" --room "Lobby" --user "Tester" --link-log build/demo-links.txt &
wait_for_window '"Chat Room: Lobby"'
ctl() { wine "$WIN_BIN/roomsimctl.exe" "$@"; }
ctl say "Alice" "hi everyone"
ctl say "Bob" "anyone up for the trivia room later?"
ctl type "hello!"

if [[ -f "$WIN_BIN/tavik-varrow.exe" ]]; then
  wine "$WIN_BIN/tavik-varrow.exe" &
  wait_for_window '"Tavik Varrow V.2"'
fi

# A screenshot once the windows have painted.
for _ in $(seq 1 20); do
  import -window root build/demo.png 2>/dev/null && break
  sleep 0.25
done
echo "Screenshot: build/demo.png"

if [[ -n "${TV_PRIVATE_DISPLAY:-}" ]]; then
  wineserver -k
else
  echo "roomsim and the tool are running; close their windows to end the demo."
  echo "Say things as others with: WINEPREFIX=$WINEPREFIX wine $WIN_BIN/roomsimctl.exe say NAME TEXT"
  wait
fi
