#!/usr/bin/env bash
# Draws the gallery's images into skin/ (state strips for buttons, check boxes, radio buttons, tabs,
# the slider thumb, scroll bar thumbs and arrows, the progress fill). Needs ImageMagick 6 (convert).
# Output depends only on this script, so running it again gives the same pictures.
set -euo pipefail
out="${1:-$(cd "$(dirname "$0")" && pwd)/skin}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

save_png() { # source destination
  convert "$1" +repage -strip -define png:exclude-chunks=date,time PNG32:"$2"
}

# One frame: a rounded box. frame FILE W H RADIUS FILL STROKE [STROKEWIDTH]
frame() {
  local w=$2 h=$3 r=$4 sw=${7:-1}
  convert -size "${w}x${h}" xc:none -fill "$5" -stroke "$6" -strokewidth "$sw" \
    -draw "roundrectangle 0.5,0.5 $((w - 1)).5,$((h - 1)).5 $r,$r" "$1"
}
# Frames side by side: strip DESTINATION FRAME...
strip() {
  local dest=$1
  shift
  convert "$@" +append "$work/strip.png"
  save_png "$work/strip.png" "$dest"
}

# Buttons: normal, hot, pushed, focused, disabled (84 x 28 each; corner 5).
frame "$work/b0.png" 84 28 5 '#E4EAF2' '#8395AD'
frame "$work/b1.png" 84 28 5 '#EEF4FC' '#3C78C8'
frame "$work/b2.png" 84 28 5 '#C9D5E4' '#2E5E9E'
frame "$work/b3.png" 84 28 5 '#E4EAF2' '#3C78C8' 2
frame "$work/b4.png" 84 28 5 '#F0F1F3' '#C4C9D0'
strip "$out/button.png" "$work"/b{0,1,2,3,4}.png

# Check boxes: clear, ticked, clear under the mouse, disabled (16 x 16 each).
frame "$work/c0.png" 16 16 3 '#FFFFFF' '#7A8899'
convert "$work/c0.png" -stroke '#2E6FBF' -strokewidth 2 -fill none -draw "polyline 4,8 7,11 12,4" "$work/c1.png"
frame "$work/c2.png" 16 16 3 '#EEF4FC' '#3C78C8'
frame "$work/c3.png" 16 16 3 '#F0F1F3' '#C4C9D0'
strip "$out/check.png" "$work"/c{0,1,2,3}.png

# Radio buttons: clear, chosen, clear under the mouse, disabled (16 x 16 each).
convert -size 16x16 xc:none -fill '#FFFFFF' -stroke '#7A8899' -draw "circle 7.5,7.5 7.5,0.5" "$work/r0.png"
convert "$work/r0.png" -fill '#2E6FBF' -stroke none -draw "circle 7.5,7.5 7.5,3.5" "$work/r1.png"
convert -size 16x16 xc:none -fill '#EEF4FC' -stroke '#3C78C8' -draw "circle 7.5,7.5 7.5,0.5" "$work/r2.png"
convert -size 16x16 xc:none -fill '#F0F1F3' -stroke '#C4C9D0' -draw "circle 7.5,7.5 7.5,0.5" "$work/r3.png"
strip "$out/radio.png" "$work"/r{0,1,2,3}.png

# Tabs: normal, hot, selected (90 x 28 each, open at the bottom).
frame "$work/t0.png" 90 32 5 '#DCE3EC' '#9AA8BA'
frame "$work/t1.png" 90 32 5 '#EAF0F8' '#3C78C8'
frame "$work/t2.png" 90 32 5 '#FFFFFF' '#7D8FA6'
for i in 0 1 2; do convert "$work/t$i.png" -crop 90x28+0+0 +repage "$work/t$i.png"; done
strip "$out/tab.png" "$work"/t{0,1,2}.png

# Slider thumb: normal, hot, pushed (12 x 20 each).
frame "$work/s0.png" 12 20 3 '#F6F8FB' '#5F7591'
frame "$work/s1.png" 12 20 3 '#FFFFFF' '#3C78C8'
frame "$work/s2.png" 12 20 3 '#C9D5E4' '#2E5E9E'
strip "$out/thumb.png" "$work"/s{0,1,2}.png

# Scroll bar thumb: normal, hot, pushed (10 x 10 each, corner 4).
frame "$work/v0.png" 10 10 4 '#B8C4D2' '#B8C4D2'
frame "$work/v1.png" 10 10 4 '#8EA2BA' '#8EA2BA'
frame "$work/v2.png" 10 10 4 '#6E86A4' '#6E86A4'
strip "$out/scroll.png" "$work"/v{0,1,2}.png

# Scroll bar arrow buttons: left then right, each normal, hot, pushed, disabled (16 x 16 each).
for state in "0 #E4EAF2 #8395AD #4A5A6E" "1 #EEF4FC #3C78C8 #2E6FBF" "2 #C9D5E4 #2E5E9E #1E3E6E" "3 #F0F1F3 #C4C9D0 #B0B6BE"; do
  set -- $state
  frame "$work/box$1.png" 16 16 3 "$2" "$3"
  convert "$work/box$1.png" -fill "$4" -stroke none -draw "polygon 10,4 10,12 5,8" "$work/al$1.png"
  convert "$work/box$1.png" -fill "$4" -stroke none -draw "polygon 6,4 6,12 11,8" "$work/ar$1.png"
done
strip "$out/arrows.png" "$work"/al{0,1,2,3}.png "$work"/ar{0,1,2,3}.png

# Progress fill (corner 3): a blue gradient.
convert -size 14x14 gradient:'#6FA8E8'-'#2F6DB5' "$work/fill.png"
convert "$work/fill.png" \( -size 14x14 xc:none -fill white -draw "roundrectangle 0,0 13,13 3,3" \) \
  -compose DstIn -composite "$work/fill.png"
save_png "$work/fill.png" "$out/progress.png"

# A small badge for the inline image of the formatted text.
convert -size 14x14 xc:none -fill '#E39B2D' -stroke '#B3741A' -draw "circle 6.5,6.5 6.5,0.5" "$work/badge.png"
save_png "$work/badge.png" "$out/badge.png"
