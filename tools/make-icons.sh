#!/usr/bin/env bash
# Draws the program's icons (first versions) into res/*.ico with ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../res"
IM=/usr/bin/convert
t=$(mktemp -d); trap 'rm -rf "$t"' EXIT
# 101: a blue speech bubble with two lines of text, one of them translated (yellow).
$IM -size 48x48 xc:none -fill '#2a5db0' -draw 'roundrectangle 2,2 45,34 6,6' \
    -draw 'polygon 9,33 9,45 21,33' -fill white -draw 'rectangle 9,10 30,13' \
    -fill '#ffd34d' -draw 'rectangle 9,20 38,23' "$t/app48.png"
$IM "$t/app48.png" -resize 32x32 "$t/app32.png"
$IM "$t/app48.png" -resize 16x16 "$t/app16.png"
$IM "$t/app16.png" "$t/app32.png" "$t/app48.png" parlevo.ico
$IM -size 16x16 xc:none -fill '#c99a2e' -draw 'rectangle 1,3 6,5' -draw 'rectangle 1,5 14,13' \
    -fill '#f5d27a' -draw 'rectangle 2,7 13,12' folder.ico
$IM -size 16x16 xc:none -fill white -stroke '#404040' -draw 'circle 7,7 7,1' \
    -draw 'line 7,7 7,3' -draw 'line 7,7 10,9' filetime.ico
$IM -size 16x16 xc:none -fill '#2f9e44' -draw 'circle 7,7 7,0' -stroke white -strokewidth 2 \
    -draw 'line 4,8 7,11' -draw 'line 7,11 12,4' saved.ico
