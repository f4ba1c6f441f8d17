#!/usr/bin/env bash
# Draws app.ico (16, 32 and 48 pixels): red "TV" on a black tile with a red rim, the window's
# own colours. Needs ImageMagick 6 (`convert`). Run from anywhere; writes next to this script.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

tile() {  # size rim pointsize text
  local size=$1 rim=$2 points=$3 text=$4 last=$(($1 - 1))
  convert -size "${size}x${size}" xc:none \
    -fill black -stroke red -strokewidth "$rim" \
    -draw "roundrectangle $((rim / 2)),$((rim / 2)) $((last - rim / 2)),$((last - rim / 2)) $((size / 6)),$((size / 6))" \
    -stroke none -fill red -font DejaVu-Sans-Condensed-Bold -pointsize "$points" \
    -gravity center -annotate +0+0 "$text" \
    "$tmp/$size.png"
}

tile 16 1 10 "TV"
tile 32 2 19 "TV"
tile 48 3 28 "TV"
convert "$tmp/16.png" "$tmp/32.png" "$tmp/48.png" app.ico
echo "wrote $(pwd)/app.ico"
