#!/bin/sh
# Draws the 16x16 rating star icons into resources/icons/ (needs ImageMagick's convert).
# Pair 0: star-empty.ico (outline) and star-full.ico (gold);
# pair 1: plain-empty.ico (grey) and plain-full.ico (orange), a plainer filled style.
set -e
out="$(cd "$(dirname "$0")/.." && pwd)/resources/icons"
mkdir -p "$out"

# Five-pointed star around (7.5, 7.5): outer radius 7.4, inner radius 3.
star=$(awk 'BEGIN {
    pi = atan2(0, -1); s = "";
    for (i = 0; i < 10; i++) {
        r = (i % 2 == 0) ? 7.4 : 3.0;
        a = -pi / 2 + i * pi / 5;
        s = s sprintf("%.2f,%.2f ", 7.5 + r * cos(a), 8.0 + r * sin(a));
    }
    print s }')

draw() {   # draw <file> <fill> <stroke>
    convert -size 16x16 xc:none -fill "$2" -stroke "$3" -strokewidth 1 \
        -draw "polygon $star" -define icon:auto-resize=16 "$out/$1"
}

draw star-empty.ico none '#808080'
draw star-full.ico '#FFC020' '#B07800'
draw plain-empty.ico '#D8D8D8' '#A0A0A0'
draw plain-full.ico '#FF8000' '#C05000'
