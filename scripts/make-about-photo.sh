#!/usr/bin/env bash
# Produces the About window's photograph (assets/dialogs/about.jpg): a greyscale picture of
# a relay-interlocking control panel, 377 x 254, baseline JPEG.
#
# The track diagram is a small station drawn with the editor's own tiles (vedivez-tool
# render); ImageMagick turns it into a lit relief on a console, adds the route buttons,
# indicator lamps, the desk with switch keys and push buttons, a little blur, grain and
# vignetting, and the thin black frame. Only this script needs ImageMagick; the JPEG is
# committed.
#
# Usage: scripts/make-about-photo.sh [path/to/vedivez-tool] [output.jpg]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tool="${1:-$here/../build/tools/vedivez-tool}"
out="${2:-$here/../assets/dialogs/about.jpg}"
work="$(mktemp -d)"
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT

# --- The station: a through line with two loops and a siding on each side. ---
station="$work/station.reru"
"$here/sample-station.sh" "$station"

"$tool" render "$station" "$work/tracks.png" --no-grid

# --- Working size: four times the final picture, scaled down at the end. ---
W=1508 H=1016
# The relief: tracks as light strips on a mid-grey field, with a seam every few cells where
# the panel's modules meet.
convert "$work/tracks.png" -colorspace Gray -negate -morphology Dilate Disk:3 \
    +level 30%,90% "$work/relief.png"
seams=()
for ((x = 0; x <= 1410; x += 235)); do seams+=(-draw "line $x,0 $x,564"); done
for y in 0 188 376 564; do seams+=(-draw "line 0,$y 1410,$y"); done
convert "$work/relief.png" -stroke 'gray22' -strokewidth 2 "${seams[@]}" "$work/relief.png"

# Route buttons (white caps with a dark ring) at the track ends and before the switches,
# indicator lamps (small dark discs) along the loops.
marks=()
button() { # cell col row
    local x=$(($1 * 47 + 23)) y=$(($2 * 47 + 23))
    marks+=(-fill 'gray92' -stroke 'gray10' -strokewidth 4 -draw "circle $x,$((y - 30)) $((x + 11)),$((y - 30))")
}
lamp() {
    local x=$(($1 * 47 + 23)) y=$(($2 * 47 + 23))
    marks+=(-fill 'gray15' -stroke 'gray40' -strokewidth 2 -draw "circle $x,$((y + 26)) $((x + 7)),$((y + 26))")
}
for c in 1 7 14 20 28; do button "$c" 5; done
for c in 8 16 22; do button "$c" 3; done
for c in 6 13 20; do button "$c" 7; done
for c in 14 17; do button "$c" 9; done
for c in 15; do button "$c" 1; done
for c in 3 9 11 13 17 19 23 24 26; do lamp "$c" 5; done
for c in 9 14 19; do lamp "$c" 3; lamp "$c" 7; done
convert "$work/relief.png" "${marks[@]}" "$work/relief.png"

# The desk below the relief: rows of push buttons, switch keys and label plates.
desk=()
for ((i = 0; i < 22; i++)); do
    x=$((110 + i * 58))
    desk+=(-fill 'gray80' -stroke 'gray5' -strokewidth 3 -draw "circle $x,760 $((x + 15)),760")
    desk+=(-fill 'gray88' -stroke none -draw "rectangle $((x - 20)),800 $((x + 20)),818")
done
for ((i = 0; i < 16; i++)); do
    x=$((150 + i * 78))
    desk+=(-fill 'gray25' -stroke 'gray5' -strokewidth 3 -draw "circle $x,890 $((x + 24)),890")
    if ((i % 3 == 1)); then
        desk+=(-stroke 'gray90' -strokewidth 9 -draw "line $((x - 12)),902 $((x + 12)),878")
    else
        desk+=(-stroke 'gray90' -strokewidth 9 -draw "line $x,910 $x,870")
    fi
    desk+=(-fill 'gray15' -stroke none -draw "circle $x,955 $((x + 6)),955")
done

convert -size ${W}x${H} gradient:'gray30-gray12' \
    -fill 'gray8' -draw "rectangle 36,36 1472,650" \
    -fill 'gray38' -draw "rectangle 24,672 1484,1000" \
    -fill 'gray45' -draw "rectangle 24,672 1484,690" \
    "$work/relief.png" -geometry +49+62 -composite \
    "${desk[@]}" \
    "$work/console.png"

# Photograph look: soft focus, grain, darker corners; then the final size and the frame.
convert "$work/console.png" \
    -virtual-pixel edge -distort Perspective '0,0 18,10  1508,0 1496,0  0,1016 0,1016  1508,1016 1508,1006' \
    \( -size ${W}x${H} gradient:'gray100-gray70' -rotate 180 \) -compose Multiply -composite -compose Over \
    -blur 0x1.6 \
    \( -size ${W}x${H} radial-gradient:'gray100-gray45' \) -compose Multiply -composite -compose Over \
    -seed 2014 -attenuate 0.35 +noise Gaussian \
    -resize 377x254! -colorspace Gray \
    -shave 1x1 -bordercolor black -border 1x1 \
    -type Grayscale -strip -interlace none -quality 88 -sampling-factor 1x1 \
    "JPEG:$out"
echo "wrote $out"
