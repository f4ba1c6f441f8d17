#!/usr/bin/env bash
# Starts roomsim and the tool side by side and fills the room with a few lines. On a private Xvfb
# it also plays the user (ticks "Chat Scan", types "/help", expands the window), saves
# screenshots to build/demo.png (collapsed) and build/demo-expanded.png, and ends; on a real
# display the programs stay for you to use until you close them.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
wine_start

wait_for_window() {  # title pattern
  for _ in $(seq 1 300); do
    xwininfo -root -tree 2>/dev/null | grep -q "$1" && return 0
    sleep 0.1
  done
  echo "demo: no window matching '$1' appeared" >&2
  return 1
}
ctl() { wine "$WIN_BIN/roomsimctl.exe" "$@"; }
screenshot() {  # file; once the windows have painted
  sleep 1
  import -window root "$1" && echo "Screenshot: $1"
}

wine "$WIN_BIN/roomsim.exe" --room "Lobby" --user "Tester" --link-log build/demo-links.txt &
wait_for_window '"Chat Room: Lobby"'
ctl move 260 20
ctl say "Alice" "hi everyone"
ctl say "Bob" "anyone up for the trivia room later?"
ctl type "hello!"

wine "$WIN_BIN/tavik-varrow.exe" &
wait_for_window '"Tavik Varrow V.2"'

if [[ -n "${TV_PRIVATE_DISPLAY:-}" ]]; then
  ctl click-tool chat-scan
  sleep 1.5  # the announcement and the user search, at the scanner's pace
  ctl type "/help"
  sleep 1.5
  screenshot build/demo.png
  ctl click-tool more
  screenshot build/demo-expanded.png
else
  screenshot build/demo.png
  echo "roomsim (left: the chat room) and Tavik Varrow are running."
  echo "Tick \"Chat Scan\" in Tavik Varrow, then type /help into roomsim's input box and press Enter."
  echo "Others can speak with: WINEPREFIX=$WINEPREFIX wine $WIN_BIN/roomsimctl.exe say NAME TEXT"
  wait
fi
