#!/usr/bin/env bash
# Draws every image of the launcher's skin (backgrounds, button states, the application icon) into skin/.
# Needs ImageMagick 6 (convert), pngquant, zopflipng, awk, fontconfig and the fonts installed by tools/setup.sh.
# Output depends only on this script and those fonts, so running it again gives the same pictures.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/skin}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
command -v zopflipng > /dev/null || { echo "make_skin_art: zopflipng is missing (apt-get install zopfli)" >&2; exit 1; }
command -v pngquant > /dev/null || { echo "make_skin_art: pngquant is missing (apt-get install pngquant)" >&2; exit 1; }
mkdir -p "$out"

font_file() { fc-match -f '%{file}' "$1"; }
serif_bold="$(font_file 'P052:bold')"
sans_cjk="$(font_file 'WenQuanYi Micro Hei')"

# Every picture is drawn once for a 96-DPI display (k=1, name.png) and once at twice the pixels
# (k=2, name@2x.png), which the framework picks on displays scaled to 175 % and more. The @2x pictures are
# drawn at their size, not enlarged: shapes and text are as sharp as the display allows.
k=1
# The file name of a picture at the current scale.
at_scale() { # name.png
  if [ "$k" = 1 ]; then echo "$1"; else echo "${1%.png}@${k}x.png"; fi
}
# A draw command in 96-DPI coordinates, for the current scale (unchanged at k=1).
sd() {
  if [ "$k" = 1 ]; then echo "$1"; else echo "scale $k,$k $1"; fi
}
# A length or coordinate at the current scale.
kk() { echo $(($1 * k)); }

# Strip dates and other chunks that change between runs, so the PNGs are byte-for-byte reproducible.
save_png() { # source destination
  convert "$1" +repage -strip -define png:exclude-chunks=date,time PNG32:"$2"
}

# A picture that ships in the skin. The skin is most of the launcher's size, and the art is drawn in flat
# colours and vertical gradients so that 256 colours carry it: each picture is reduced to a palette
# (without dithering, which would cost more than it hides; pngquant stops the script when a picture would
# fall below the quality floor), then compressed as tightly as PNG allows. The mask colour is kept exact:
# the pixels that are pure #FF00FF are the same ones before and after, or the script stops.
ship_png() { # source destination
  save_png "$1" "$work/ship.png"
  pngquant --speed 1 --nofs --quality 85-100 --strip --force --output "$work/palette.png" "$work/ship.png"
  local f changed
  for f in ship palette; do
    convert "$work/$f.png" -alpha off -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' "$work/$f-mask.png"
  done
  changed=$(compare -metric AE "$work/ship-mask.png" "$work/palette-mask.png" null: 2>&1) || true
  [ "$changed" = 0 ] || { echo "make_skin_art: $2: the mask moved in $changed pixels" >&2; exit 1; }
  zopflipng -m -y "$work/palette.png" "$2" > /dev/null
}

# ---- helpers: shapes computed in awk (deterministic, no random generator of the awk in use) ----------

# Mountain ridge as a closed polygon down to the bottom edge. Peaks are cusps of |sin|.
#   ridge WIDTH HEIGHT BASE AMP PHASE STEP SHARPNESS
ridge() {
  awk -v w="$1" -v h="$2" -v base="$3" -v amp="$4" -v p="$5" -v step="$6" -v sharp="$7" 'BEGIN {
    printf "polygon 0,%d", h
    for (x = 0; x <= w + step; x += step) {
      a = 1 - (sin(x * 0.0093 + p) < 0 ? -sin(x * 0.0093 + p) : sin(x * 0.0093 + p))
      b = 1 - (sin(x * 0.0217 + p * 1.9) < 0 ? -sin(x * 0.0217 + p * 1.9) : sin(x * 0.0217 + p * 1.9))
      c = sin(x * 0.071 + p * 3.1)
      y = base - amp * (0.62 * a ^ sharp + 0.38 * b ^ sharp) - amp * 0.05 * c
      printf " %d,%.1f", (x > w ? w : x), y
    }
    printf " %d,%d", w, h
  }'
}

# A ragged tree line: many narrow spikes on a gently waving base.
#   treeline WIDTH HEIGHT BASE SPIKE PHASE
treeline() {
  awk -v w="$1" -v h="$2" -v base="$3" -v spike="$4" -v p="$5" 'BEGIN {
    s = 12345 + p * 1000
    printf "polygon 0,%d 0,%.1f", h, base
    for (x = 0; x <= w; x += 14) {
      s = (16807 * s) % 2147483647; r = s / 2147483647
      y0 = base + 14 * sin(x * 0.008 + p) + 8 * sin(x * 0.031 + p * 2)
      printf " %d,%.1f %d,%.1f %d,%.1f", x, y0, x + 7, y0 - spike * (0.45 + 0.55 * r), x + 14, y0
    }
    printf " %d,%d", w, h
  }'
}

# Deterministic star field: "fill ... circle" draw commands.
#   stars WIDTH MAXY COUNT SEED
stars() {
  awk -v w="$1" -v maxy="$2" -v n="$3" -v s="$4" 'BEGIN {
    for (i = 0; i < n; i++) {
      s = (16807 * s) % 2147483647; x = s % w
      s = (16807 * s) % 2147483647; y = (s % 1000) / 1000; y = y * y * maxy
      s = (16807 * s) % 2147483647; b = s % 100
      r = (b > 94) ? 1.3 : ((b > 70) ? 0.8 : 0.5)
      a = 0.35 + (b / 100) * 0.65
      printf "fill rgba(255,246,228,%.2f) circle %d,%.1f %.1f,%.1f\n", a, x, y, x + r, y
    }
  }'
}

# Upper edge of the login frame's title crest: an elliptic arch between two shoulders.
# A flattened arch (superellipse) with a small gable in the middle.
crest_points() {
  awk 'BEGIN {
    cx = 633; base = 78; rx = 280; ry = 68; n = 2.6
    for (i = 0; i <= 60; i++) {
      t = 3.14159265 * (1 - i / 60); c = cos(t); s = sin(t)
      x = cx + rx * (c < 0 ? -1 : 1) * (c < 0 ? -c : c) ^ (2 / n)
      y = base - ry * s ^ (2 / n)
      if (x > cx - 34 && x < cx + 34) y = y - (34 - (x < cx ? cx - x : x - cx)) * 0.24
      printf " %.1f,%.1f", x, y
    }
  }'
}

# ---- login frame background ------------------------------------------------------------------------

make_login_bg() {
  local w=$(kk 1034) h=$(kk 680)
  local d="$work/login"
  mkdir -p "$d"

  # The shaped outline: chamfered body, arched crest over the login panel, a point at the bottom.
  local outline="polygon 14,100 36,78 $(crest_points) 998,78 1020,100 1020,644 998,666 663,666 633,678 603,666 36,666 14,644"
  convert -size ${w}x${h} xc:black +antialias -fill white -draw "$(sd "$outline")" -threshold 50% "$d/mask.png"

  # Dusk sky, warm towards the horizon.
  convert -size 1x256 gradient: -rotate 180 \
    \( xc:'#070a22' xc:'#10163f' xc:'#241f5a' xc:'#4f2a6e' xc:'#9a3f6e' xc:'#e0705f' xc:'#f8aa66' xc:'#ffd890' +append \
       -filter Triangle -resize 256x1\! \) -clut -resize ${w}x$(kk 470)\! \
    -background '#ffd890' -gravity north -extent ${w}x${h} "$d/sky.png"

  # Stars fade out towards the horizon.
  stars 1034 360 130 20240611 > "$d/stars.mvg"
  convert -size ${w}x${h} xc:none -draw "$(sd "$(cat "$d/stars.mvg")")" "$d/stars.png"

  # The sun behind the far peaks, right of centre.
  convert -size ${w}x${h} xc:none -fill '#fff3d0' -draw "$(sd 'circle 700,448 700,414')" -blur 0x$(kk 6) "$d/sun.png"

  # Long thin clouds lit from below, hard-edged like the rest of the scene.
  convert -size ${w}x${h} xc:none \
    -fill 'rgba(255,170,130,0.55)' -draw "$(sd 'ellipse 520,360 260,9 0,360')" -draw "$(sd 'ellipse 880,392 200,7 0,360')" \
    -fill 'rgba(250,140,140,0.45)' -draw "$(sd 'ellipse 200,318 230,8 0,360')" -draw "$(sd 'ellipse 760,300 150,5 0,360')" \
    -fill 'rgba(120,70,140,0.55)' -draw "$(sd 'ellipse 330,250 300,12 0,360')" -draw "$(sd 'ellipse 900,230 220,10 0,360')" \
    "$d/clouds.png"

  # Mountains, far to near: each darker, less hazy, lit a little from above.
  shade() { # name top-colour bottom-colour top-row draw-command
    convert -size ${w}x${h} xc:none -fill white -draw "$(sd "$5")" \
      \( -size ${w}x$((h - $4 * k)) gradient:"$2"-"$3" -background "$2" -gravity south -extent ${w}x${h} \) \
      -compose In -composite "$d/$1.png"
  }
  shade m1 '#b06a8c' '#5a3068' 350 "$(ridge 1034 680 470 120 0.7 6 1.6)"
  shade m2 '#6a3470' '#331a48' 410 "$(ridge 1034 680 520 110 2.1 5 2.2)"
  shade m3 '#341a4c' '#1a0e2a' 500 "$(ridge 1034 680 575 70 4.2 5 2.6)"
  shade m4 '#140b24' '#06030b' 570 "$(treeline 1034 680 612 26 1.3)"
  # Mist between the ranges.
  convert -size ${w}x${h} xc:none -fill 'rgba(255,190,200,0.30)' -draw "$(sd 'rectangle 0,468 1034,500')" \
    -fill 'rgba(230,160,210,0.22)' -draw "$(sd 'rectangle 0,540 1034,560')" -blur 0x$(kk 12) "$d/mist.png"

  # A citadel on a rock on the left, windows lit.
  local cast="$d/castle.mvg"
  cat > "$cast" <<'EOF'
fill #1a0f2a
polygon 40,600 70,520 110,490 150,482 200,488 240,510 275,560 290,600
rectangle 92,400 116,500
polygon 88,402 104,344 120,402
rectangle 128,430 190,495
polygon 124,432 159,392 194,432
rectangle 150,360 168,440
polygon 146,362 159,300 172,362
rectangle 196,420 222,500
polygon 192,422 209,372 226,422
rectangle 230,452 250,505
polygon 227,454 240,420 253,454
rectangle 70,452 92,505
polygon 67,454 81,424 95,454
stroke #1a0f2a stroke-width 2
line 159,300 159,284
line 104,344 104,332
fill #1a0f2a polygon 159,284 172,288 159,292
fill #ffb347 stroke none
rectangle 99,420 103,428
rectangle 106,452 110,460
rectangle 156,378 161,386
rectangle 140,448 144,456
rectangle 172,446 176,454
rectangle 205,436 209,444
rectangle 237,468 241,475
rectangle 78,470 82,477
rectangle 156,462 162,478
EOF
  convert -size ${w}x${h} xc:none -draw "$(sd "$(cat "$cast")")" "$d/castle.png"

  convert "$d/sky.png" \
    \( "$d/stars.png" \( -size ${w}x${h} gradient:white-black -alpha copy \) -compose DstIn -composite \) \
      -compose Over -composite \
    "$d/clouds.png" -compose Over -composite \
    "$d/sun.png" -compose Screen -composite \
    "$d/m1.png" -compose Over -composite \
    "$d/mist.png" -compose Over -composite \
    "$d/m2.png" -compose Over -composite \
    "$d/m3.png" -compose Over -composite \
    "$d/castle.png" -compose Over -composite \
    "$d/m4.png" -compose Over -composite \
    "$d/scene.png"

  # Login panel: a dark pane under the login page, a gilded double rule and studs at the corners.
  local studs=""
  for p in 289,150 289,568 977,568; do
    local x=${p%,*} y=${p#*,}
    studs+=" polygon $x,$((y - 7)) $((x + 7)),$y $x,$((y + 7)) $((x - 7)),$y"
  done
  convert "$d/scene.png" \
    -fill '#08071a' -stroke none -draw "$(sd 'rectangle 290,151 976,567')" \
    -fill none -stroke '#dcb66c' -strokewidth 2 -draw "$(sd 'rectangle 289,150 977,568')" \
    -stroke 'rgba(150,110,55,0.9)' -strokewidth 1 -draw "$(sd 'rectangle 294,155 972,563')" \
    -fill '#f2d28a' -stroke '#4a2e10' -strokewidth 1 -draw "$(sd "$studs")" \
    "$d/paneled.png"

  # The title: gilded letters with a dark rim and a warm glow, then a tagline.
  convert -background black -font "$serif_bold" -pointsize $(kk 86) -kerning $(kk 6) -fill white label:'Orvane' \
    -trim +repage -bordercolor black -border $(kk 40) "$d/t_mask.png"
  local tw th
  tw=$(identify -format %w "$d/t_mask.png"); th=$(identify -format %h "$d/t_mask.png")
  convert -size 1x256 gradient: -rotate 180 \
    \( xc:'#fffbe6' xc:'#ffe9a8' xc:'#f0c060' xc:'#b87a26' xc:'#e6b45a' xc:'#fff0b8' +append -filter Triangle -resize 256x1\! \) \
    -clut -resize ${tw}x${th}\! "$d/t_mask.png" -alpha off -compose CopyOpacity -composite "$d/t_face.png"
  convert -size ${tw}x${th} xc:'#2a1405' \( "$d/t_mask.png" -morphology Dilate Disk:$(kk 3) \) \
    -alpha off -compose CopyOpacity -composite "$d/t_rim.png"
  convert -size ${tw}x${th} xc:'#ff9a40' \( "$d/t_mask.png" -morphology Dilate Disk:$(kk 4) -blur 0x$(kk 8) \) \
    -alpha off -compose CopyOpacity -composite "$d/t_glow.png"
  convert "$d/t_glow.png" "$d/t_rim.png" -compose Over -composite "$d/t_face.png" -compose Over -composite "$d/title.png"
  convert -background none -font "$sans_cjk" -pointsize $(kk 17) -kerning $(kk 8) -fill '#f3dca6' label:'奥文纪元·传奇再启' \
    "$d/tagline.png"

  # The healthy-play advice every game of the region shows, and the version.
  convert -background none -font "$sans_cjk" -pointsize $(kk 12) -fill 'rgba(214,196,160,0.85)' -gravity center \
    label:$'抵制不良游戏，拒绝盗版游戏。注意自我保护，谨防受骗上当。\n适度游戏益脑，沉迷游戏伤身。合理安排时间，享受健康生活。' \
    "$d/advice.png"
  convert -background none -font "$sans_cjk" -pointsize $(kk 12) -fill 'rgba(190,170,140,0.8)' label:'版本 1.0.0' "$d/version.png"

  convert "$d/paneled.png" \
    "$d/title.png" -gravity north -geometry +$(((633 - 1034 / 2) * k))-$(kk 12) -compose Over -composite \
    "$d/tagline.png" -gravity north -geometry +$(((633 - 1034 / 2) * k))+$(kk 106) -compose Over -composite \
    "$d/advice.png" -gravity north -geometry +$(((633 - 1034 / 2) * k))+$(kk 596) -compose Over -composite \
    "$d/version.png" -gravity northwest -geometry +$(kk 34)+$(kk 640) -compose Over -composite \
    "$d/decorated.png"

  # The outline: a gilded band along the edge, a fine rule inside.
  convert "$d/mask.png" -morphology Erode Disk:$(kk 3) "$d/e3.png"
  convert "$d/mask.png" -morphology Erode Disk:$(kk 7) "$d/e7.png"
  convert "$d/mask.png" -morphology Erode Disk:$(kk 8) "$d/e8.png"
  convert "$d/mask.png" "$d/e3.png" -compose Difference -composite "$d/band_mask.png"
  convert "$d/e7.png" "$d/e8.png" -compose Difference -composite "$d/rule_mask.png"
  convert -size ${w}x${h} gradient:'#f6dc96'-'#8c6226' "$d/band_mask.png" -alpha off -compose CopyOpacity -composite "$d/band.png"
  convert -size ${w}x${h} xc:'#c59a50' \( "$d/rule_mask.png" -evaluate multiply 0.8 \) -alpha off -compose CopyOpacity -composite "$d/rule.png"
  convert "$d/decorated.png" \
    "$d/rule.png" -compose Over -composite "$d/band.png" -compose Over -composite "$d/framed.png"

  # Everything outside the outline is the mask colour, with a hard edge so no blended pink survives.
  convert "$d/framed.png" "$d/mask.png" -alpha off -compose CopyOpacity -composite \
    -background '#FF00FF' -alpha remove -alpha off "$d/final.png"
  ship_png "$d/final.png" "$out/$(at_scale loginBg.png)"
}

# ---- login frame buttons: round gilded gems, drawn four times larger and scaled down ---------------------

# gem_button FILE WIDTH HEIGHT CORE-LIGHT CORE-DARK RING GLYPH-COLOUR GLYPH-DRAW SHIFT
# GLYPH-DRAW uses a 0..100 box centred on the gem; SHIFT moves the glyph down (pushed look).
gem_button() {
  local file="$1" w="$2" h="$3" light="$4" dark="$5" ring="$6" ink="$7" glyph="$8" shift="$9"
  local s=4 W=$(($2 * 4)) H=$(($3 * 4))
  local cx=$((W / 2)) cy=$((H / 2)) r=$(( (w < h ? w : h) * 4 / 2 - 6 ))
  local d="$work/gem"
  mkdir -p "$d"
  # Body: dark rim, gilded ring, core with light from the upper left, a glassy highlight.
  convert -size ${W}x${H} xc:none \
    -fill 'rgba(10,6,4,0.55)' -draw "circle $cx,$((cy + 4)) $cx,$((cy + 4 - r - 2))" \
    -fill "$ring" -draw "circle $cx,$cy $cx,$((cy - r))" \
    -fill '#3a2408' -draw "circle $cx,$cy $cx,$((cy - r + 9))" \
    "$d/ring.png"
  convert -size $((2 * r))x$((2 * r)) radial-gradient:"$light"-"$dark" -distort SRT "0,0 1 0 $((r * 7 / 10)),$((r * 6 / 10))" \
    \( -size $((2 * r))x$((2 * r)) xc:black -fill white -draw "circle $r,$r $r,12" \) \
    -alpha off -compose CopyOpacity -composite "$d/core.png"
  convert -size ${W}x${H} xc:none -fill 'rgba(255,255,255,0.22)' \
    -draw "ellipse $cx,$((cy - r / 2)) $((r * 6 / 10)),$((r * 3 / 10)) 0,360" -blur 0x3 "$d/shine.png"
  # The glyph: coordinates of a 100-unit box mapped onto the core.
  local gs=$(awk -v r="$r" 'BEGIN { printf "%.4f", r * 1.1 / 100 }')
  convert -size ${W}x${H} xc:none -stroke "$ink" -fill none -strokewidth $((r / 5)) \
    -draw "stroke-linecap round translate $((cx)),$((cy + shift * s)) scale $gs,$gs translate -50,-50 $glyph" "$d/glyph.png"
  convert -size ${W}x${H} xc:none -stroke 'rgba(0,0,0,0.6)' -fill none -strokewidth $((r / 5 + 4)) \
    -draw "stroke-linecap round translate $((cx)),$((cy + shift * s + 3)) scale $gs,$gs translate -50,-50 $glyph" -blur 0x2 "$d/glyph_shadow.png"
  convert "$d/ring.png" "$d/core.png" -geometry +$((cx - r))+$((cy - r)) -compose Over -composite \
    "$d/shine.png" -compose Over -composite "$d/glyph_shadow.png" -compose Over -composite \
    "$d/glyph.png" -compose Over -composite -filter Lanczos -resize $(kk $w)x$(kk $h)\! "$d/button.png"
  ship_png "$d/button.png" "$out/$(at_scale "$file")"
}

make_frame_buttons() {
  local cross='line 22,22 78,78 line 78,22 22,78'
  local minus='line 24,56 76,56'
  gem_button close_n.png 48 48 '#a8322a' '#3c0b08' '#c9a35a' '#f6e2b0' "$cross" 0
  gem_button close_h.png 48 48 '#ff6a4a' '#8a1c12' '#f5d890' '#ffffff' "$cross" 0
  gem_button close_p.png 48 48 '#6a1712' '#240504' '#9a7838' '#e0c890' "$cross" 1
  gem_button minimize_n.png 36 37 '#3c4a8a' '#0e1232' '#c9a35a' '#f6e2b0' "$minus" 0
  gem_button minimize_h.png 36 37 '#6a82d8' '#1e2a6a' '#f5d890' '#ffffff' "$minus" 0
  gem_button minimize_p.png 36 37 '#222a5a' '#070918' '#9a7838' '#e0c890' "$minus" 1
}

# ---- play window background: title band, frame, rounded corners (nine-grid 10,32,10,10) ----------------

# A one-unit rule from (x0, y) to (x1, y) in 96-DPI pixels: k rows of k-times-wider lines.
hline() { # y x0 x1
  local i out=""
  for ((i = 0; i < k; i++)); do
    out+="${out:+ }line $(($2 * k)),$(($1 * k + i)) $(($3 * k + k - 1)),$(($1 * k + i))"
  done
  echo "$out"
}

# A rounded rectangle outline one unit wide, inset by INSET units from a W x H picture (in pixels).
rrect() { # w h inset radius
  awk -v w="$1" -v h="$2" -v i="$3" -v r="$4" -v k="$k" 'BEGIN {
    a = i * k + (k - 1) / 2
    printf "roundrectangle %g,%g %g,%g %g,%g", a, a, w - 1 - a, h - 1 - a, r * k, r * k
  }'
}

make_play_bg() {
  local w=$(kk 120) h=$(kk 90)
  local d="$work/play"
  mkdir -p "$d"
  convert -size ${w}x${h} xc:black +antialias -fill white -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $(kk 6),$(kk 6)" \
    -threshold 50% "$d/mask.png"
  convert -size ${w}x${h} xc:'#0c0f1e' \
    \( -size ${w}x$(kk 32) gradient:'#2e3660'-'#141830' \) -geometry +0+0 -compose Over -composite \
    -fill 'rgba(255,255,255,0.16)' -draw "$(hline 1 2 117)" \
    -fill '#5e4a2a' -draw "$(hline 30 0 119)" \
    -fill '#c9a35a' -draw "$(hline 31 0 119)" \
    -fill none -stroke '#6b5a3a' -strokewidth $k -draw "$(rrect $w $h 0 6)" \
    -stroke 'rgba(255,255,255,0.06)' -draw "$(rrect $w $h 1 5)" \
    "$d/body.png"
  convert "$d/body.png" "$d/mask.png" -alpha off -compose CopyOpacity -composite \
    -background '#FF00FF' -alpha remove -alpha off "$d/final.png"
  ship_png "$d/final.png" "$out/$(at_scale PlayGameBg.png)"
}

# ---- play window title buttons: 81 x 27 strips of normal, hot and pushed -------------------------------

# strip_button FILE GLYPH HOT-BACK PUSHED-BACK; GLYPH is drawn in a 0..100 box with %INK% for its colour.
strip_button() {
  local file="$1" glyph="$2" hot="$3" pushed="$4"
  local d="$work/strip"
  mkdir -p "$d"
  state() { # name back ink shift
    local mvg="${glyph//%INK%/$3}"
    convert -size 108x108 xc:none \
      -fill "$2" -draw "roundrectangle 6,6 101,101 16,16" \
      -fill none -stroke "$3" -strokewidth 8 \
      -draw "stroke-linecap round stroke-linejoin round translate 4,$((4 + $4 * 4)) $mvg" \
      -filter Lanczos -resize $(kk 27)x$(kk 27) "$d/$1.png"
  }
  state n none '#c9cde4' 0
  state h "$hot" '#ffffff' 0
  state p "$pushed" '#9aa0c4' 1
  convert "$d/n.png" "$d/h.png" "$d/p.png" +append "$d/strip.png"
  ship_png "$d/strip.png" "$out/$(at_scale "$file")"
}

make_strip_buttons() {
  local hot='rgba(255,255,255,0.18)' pushed='rgba(0,0,0,0.45)'
  strip_button minibtn.png 'line 30,62 70,62' "$hot" "$pushed"
  strip_button maxbtn.png 'rectangle 30,30 70,70 line 30,33 70,33' "$hot" "$pushed"
  strip_button closebtn.png 'line 32,32 68,68 line 68,32 32,68' '#d0402f' '#8a1f16'
  strip_button refreshbtn.png \
    'path "M 66,32 A 22,22 0 1 0 72,56" fill %INK% stroke none polygon 56,20 76,31 60,44' "$hot" "$pushed"
  strip_button kefubtn.png \
    'path "M 26,60 L 26,52 A 24,24 0 0 1 74,52 L 74,60" fill %INK% roundrectangle 20,52 34,74 5,5 roundrectangle 66,52 80,74 5,5 fill none path "M 73,74 Q 72,84 56,84" fill %INK% stroke none circle 52,84 52,89' \
    "$hot" "$pushed"
}

# ---- application icon: a gilded shield with the ring of Orvane and a flame-coloured gem --------------

make_icon() {
  local d="$work/icon"
  mkdir -p "$d"
  local shield='path "M 128,10 L 228,42 L 224,128 Q 216,206 128,248 Q 40,206 32,128 L 28,42 Z"'
  convert -size 256x256 xc:black -fill white -draw "$shield" "$d/shield_mask.png"
  convert -size 256x256 gradient:'#3a4690'-'#0c0f2c' "$d/shield_mask.png" -alpha off -compose CopyOpacity -composite \
    -fill none -stroke '#e6c274' -strokewidth 14 -draw "$shield" \
    -stroke '#7a5420' -strokewidth 3 -draw 'path "M 128,26 L 214,54 L 210,128 Q 203,194 128,232 Q 53,194 46,128 L 42,54 Z"' \
    -stroke '#f2d48a' -strokewidth 24 -fill none -draw 'circle 128,124 128,62' \
    -stroke '#8a5a1c' -strokewidth 3 -draw 'circle 128,124 128,50' -draw 'circle 128,124 128,74' \
    -stroke '#5a2a08' -strokewidth 3 -fill '#ff8a2a' -draw 'polygon 128,88 154,124 128,160 102,124' \
    -stroke none -fill '#ffe2a0' -draw 'polygon 128,96 140,118 128,124 116,118' \
    "$d/icon256.png"
  convert "$d/icon256.png" -filter Lanczos -resize 48x48 "$d/i48.png"
  convert "$d/icon256.png" -filter Lanczos -resize 32x32 -unsharp 0x0.6 "$d/i32.png"
  convert "$d/icon256.png" -filter Lanczos -resize 16x16 -unsharp 0x0.8 "$d/i16.png"
  for n in 16 32 48; do save_png "$d/i$n.png" "$d/icon$n.png"; done
  convert "$d/icon16.png" "$d/icon32.png" "$d/icon48.png" "$out/app.ico"
}

for k in 1 2; do
  make_login_bg
  make_frame_buttons
  make_play_bg
  make_strip_buttons
done
k=1
make_icon
