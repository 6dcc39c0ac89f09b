#!/usr/bin/env bash
# Draws the program's pictures into images/ (run from anywhere; needs ImageMagick 6 and the
# Tahoma of fonts-wine). Every picture is drawn large and scaled down, so edges come out smooth;
# the output carries no time stamps, so a rerun gives the same files.
#   refresh.gif      18 x 18, the port-list refresh sign, two arrows chasing round (animated)
#   logo.png         179 x 185, the program's emblem on the main screen
#   edit-icon.png    16 x 16, pencil
#   delete-icon.png  16 x 16, red disc with a cross
#   bind-icon.png    16 x 16, two chain links
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/images"
font_dir=/usr/share/wine/fonts
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

blue='#2f6fd0'
red='#d9342b'
green='#2e9e5b'
grey='#3c3c3c'
png_clean=(-strip -define png:exclude-chunks=date,time)
# Debian's ImageMagick 6, by its own name, whatever else is first on the PATH.
convert() { convert-im6.q16 "$@"; }

# Scales a large drawing down to its final size with a sharp, clean filter.
shrink() { convert "$1" -filter Lanczos -resize "$2" "${png_clean[@]}" "$3"; }

# --- refresh.gif: two arcs of 130 degrees with arrow heads; the figure repeats every half
# turn, so 12 frames of 15 degrees make one seamless loop.
refresh_frame() {  # offset-degrees output
    # Each arc is a filled ring segment with a round tail, since ImageMagick closes stroked
    # open paths.
    awk -v off="$1" -v colour="$blue" 'BEGIN {
        pi = atan2(0, -1); c = 72; r = 46; w = 7.5; head = 30; half = 22
        printf "stroke none fill %s ", colour
        for (k = 0; k < 2; k++) {
            d0 = off + k * 180 + 20; d1 = d0 + 130
            printf "polygon"
            for (d = d0; d <= d1; d += 5) printf " %.2f,%.2f", c + (r + w) * cos(d * pi / 180), c + (r + w) * sin(d * pi / 180)
            for (d = d1; d >= d0; d -= 5) printf " %.2f,%.2f", c + (r - w) * cos(d * pi / 180), c + (r - w) * sin(d * pi / 180)
            a0 = d0 * pi / 180; a1 = d1 * pi / 180
            printf " circle %.2f,%.2f %.2f,%.2f", c + r * cos(a0), c + r * sin(a0), c + r * cos(a0) + w, c + r * sin(a0)
            # The head: its base across the arc end, its tip ahead along the tangent.
            xb = c + r * cos(a1); yb = c + r * sin(a1)
            tx = -sin(a1); ty = cos(a1); nx = cos(a1); ny = sin(a1)
            printf " polygon %.2f,%.2f %.2f,%.2f %.2f,%.2f ",
                xb + nx * half, yb + ny * half, xb - nx * half, yb - ny * half,
                xb + tx * head, yb + ty * head
        }
    }' > "$work/refresh.mvg"
    convert -size 144x144 xc:white -draw "$(cat "$work/refresh.mvg")" "$2"
}
frames=()
for step in $(seq 0 11); do
    refresh_frame $((step * 15)) "$work/big-$step.png"
    # Drawn on white and cut out where nothing is drawn: edge pixels blend into the white
    # screen the sign sits on, which a one-bit GIF mask could not do.
    convert "$work/big-$step.png" -filter Lanczos -resize 18x18 -fuzz 2% -transparent white \
        "$work/frame-$step.png"
    frames+=("$work/frame-$step.png")
done
convert -delay 6 -dispose Background -loop 0 "${frames[@]}" +set date:create +set date:modify \
    "$out/refresh.gif"

# --- logo.png: a blue disc with a white water drop and a warm wave, the name beneath.
wave() {  # one and a half periods of a sine band with round ends, inside the drop
    awk 'BEGIN {
        pi = atan2(0, -1); x0 = 298; x1 = 418; y = 282; a = 16; w = 9
        printf "polygon"
        for (x = x0; x <= x1; x += 4) printf " %.1f,%.1f", x, y - w + a * sin((x - x0) / (x1 - x0) * 3 * pi)
        for (x = x1; x >= x0; x -= 4) printf " %.1f,%.1f", x, y + w + a * sin((x - x0) / (x1 - x0) * 3 * pi)
        printf " circle %d,%d %d,%d circle %d,%d %d,%d", x0, y, x0 + w, y, x1, y, x1 + w, y
    }'
}
s=4  # drawn at four times the size
convert -size $((179 * s))x$((185 * s)) xc:none \
    \( -size $((112 * s))x$((112 * s)) radial-gradient:'#4a9be6-#1f5aa8' \
       \( -size $((112 * s))x$((112 * s)) xc:black -fill white \
          -draw "circle $((56 * s)),$((56 * s)) $((56 * s)),1" \) \
       -alpha off -compose CopyOpacity -composite \) \
    -geometry +$(((179 - 112) * s / 2))+$((4 * s)) -compose Over -composite \
    -fill white -stroke none \
    -draw "path 'M 358,78 C 382,130 446,186 446,262 A 88,88 0 1,1 270,262 C 270,186 334,130 358,78 Z'" \
    -fill '#f08a24' -draw "$(wave)" \
    -stroke none -fill "$grey" -font "$font_dir/tahomabd.ttf" -pointsize $((34 * s)) \
    -gravity north -annotate +0+$((118 * s)) 'Vevo' \
    -fill '#7a7a7a' -font "$font_dir/tahoma.ttf" -pointsize $((11 * s)) \
    -annotate +0+$((162 * s)) 'тепло і вода' \
    "$work/logo-big.png"
shrink "$work/logo-big.png" 179x185 "$out/logo.png"

# --- icons, drawn at 8 times 16 pixels.
convert -size 128x128 xc:none \
    -fill "$blue" -stroke none \
    -draw "polygon 30,82 82,30 98,46 46,98" \
    -fill '#1f4f99' -draw "path 'M 82,30 L 90,22 A 11.3,11.3 0 0,1 106,38 L 98,46 Z'" \
    -fill '#e8c48a' -draw "polygon 30,82 46,98 22,106" \
    -fill "$grey" -draw "polygon 26,94 34,102 22,106" \
    "$work/edit.png"
shrink "$work/edit.png" 16x16 "$out/edit-icon.png"

convert -size 128x128 xc:none \
    -fill "$red" -stroke none -draw "circle 64,64 64,6" \
    -stroke white -strokewidth 14 \
    -draw "stroke-linecap round line 42,42 86,86 line 86,42 42,86" \
    "$work/delete.png"
shrink "$work/delete.png" 16x16 "$out/delete-icon.png"

convert -size 128x128 xc:none \
    -fill none -stroke "$green" -strokewidth 14 \
    -draw "translate 64,64 rotate -45 roundrectangle -52,-17 8,17 17,17" \
    -draw "translate 64,64 rotate -45 roundrectangle -8,-17 52,17 17,17" \
    "$work/bind.png"
shrink "$work/bind.png" 16x16 "$out/bind-icon.png"

echo "Pictures written to $out"
