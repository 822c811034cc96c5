#!/usr/bin/env bash
# Takes the README's picture of the print preview: the sample station opened from the
# command line on a 1440 x 900 virtual display with a window manager, "Soubor › Náhled
# tisku..." chosen, "Vzhled stránky" accepted as it opens (the used cells, fitted to one A4
# page, black on white) and the preview window taken on its own.
#
# Usage: scripts/make-preview-screenshot.sh [path/to/vedivez] [output.png]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
editor="${1:-$here/../build/app/vedivez}"
out="${2:-$here/../docs/print-preview.png}"
screen=1440x900
source "$here/screen-session.sh"

"$here/sample-station.sh" "$work/nadrazi.reru"
start_editor "$work/nadrazi.reru"
# "Soubor" on the menu bar, then its item "Náhled tisku...".
xdotool mousemove 25 25 click 1
sleep 0.5
xdotool mousemove 70 163 click 1
xdotool search --sync --onlyvisible --name "Vzhled stránky" >/dev/null
sleep 0.5
xdotool key Return
preview=$(xdotool search --sync --onlyvisible --name "Náhled tisku" | head -n 1)
sleep 1.5
import -window "$preview" "$work/shot.png"
mkdir -p "$(dirname "$out")"
convert "$work/shot.png" -strip "$out"
echo "wrote $out"
