#!/usr/bin/env bash
# Draws the four arrow glyphs of the shift dialog's buttons: 12 x 12, 24-bit BMP, a green
# arrow on a red background. The dialog treats the bottom-left pixel's colour (the red) as
# transparent when it loads them, so only the arrow shows. Needs ImageMagick; the results are
# committed, so the build does not.
set -euo pipefail
out="${1:-$(dirname "$0")/../assets/dialogs}"
mkdir -p "$out"

# The up arrow: a head of rows 1..5 widening to 10 px, then a 4 px wide shaft down to row 10.
up_polygons=(-draw "polygon 5.5,1 10,5.5 1,5.5" -draw "rectangle 4,6 7,10")

convert -size 12x12 xc:'#FF0000' +antialias -fill '#008000' -stroke none \
    "${up_polygons[@]}" -type TrueColor "BMP3:$out/arrow_up.bmp"
convert "BMP3:$out/arrow_up.bmp" -flip -type TrueColor "BMP3:$out/arrow_down.bmp"
convert "BMP3:$out/arrow_up.bmp" -rotate 90 -type TrueColor "BMP3:$out/arrow_right.bmp"
convert "BMP3:$out/arrow_up.bmp" -rotate -90 -type TrueColor "BMP3:$out/arrow_left.bmp"
