#!/usr/bin/env bash
# Rebuilds the gen-*.gif test pictures with ImageMagick 6 (Debian's /usr/bin/convert). The results are
# checked in; run this only to change them, then rebuild the golden checksums (image_golden_update).
set -euo pipefail
cd "$(dirname "$0")"
IM=/usr/bin/convert

# Colour counts: 2, 16 and 256 entries.
$IM -size 61x37 gradient:black-white -colors 2 +dither gen-2colors.gif
$IM -seed 5 -size 96x64 plasma:fractal -colors 16 +dither gen-16colors.gif
$IM -seed 7 -size 128x96 plasma:fractal -colors 256 gen-256colors.gif

# Interlaced, of a height that leaves no pass empty and of one that leaves passes empty.
$IM -seed 3 -size 77x61 plasma:fractal -colors 64 -interlace GIF gen-interlaced.gif
$IM -seed 4 -size 9x3 plasma:fractal -colors 8 -interlace GIF gen-interlaced-short.gif

# Animations, one per disposal method, with frames smaller than the screen and a loop count.
for d in 0:Undefined 1:None 2:Background 3:Previous; do
    n=${d%%:*}
    method=${d#*:}
    $IM -dispose "$method" -delay 7 -loop 3 -size 40x30 xc:'#204060' \
        -page +5+4 -size 12x10 xc:red \
        -page +14+9 -size 16x12 plasma:yellow-green \
        -page +2+15 -size 30x8 gradient:white-blue \
        -colors 32 +dither "gen-anim-dispose$n.gif"
done

# Transparency: a background, then frames whose transparent pixels must show the earlier picture.
$IM -dispose None -delay 20 -loop 0 -size 32x32 xc:navy \
    \( -size 32x32 xc:none -fill orange -draw 'circle 16,16 16,6' \) \
    \( -size 32x32 xc:none -fill lime -draw 'rectangle 4,20 27,26' \) \
    gen-transparent.gif

# A button strip like the program's own: 224 x 16, 16 colours, GIF87a (the resource tests embed it).
$IM -seed 11 -size 224x16 plasma:fractal -colors 16 +dither GIF87:test-strip.gif
