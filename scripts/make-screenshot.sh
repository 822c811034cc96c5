#!/usr/bin/env bash
# Takes the README's screenshot: the editor maximised on a 1440 x 900 virtual display with a
# window manager, the sample station opened through the Open dialog, a tile chosen and the
# pointer over the panel.
#
# Usage: scripts/make-screenshot.sh [path/to/vedivez] [output.png]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
editor="${1:-$here/../build/app/vedivez}"
out="${2:-$here/../docs/editor.png}"
screen=1440x900
source "$here/screen-session.sh"

"$here/sample-station.sh" "$work/nadrazi.reru"
start_editor
xdotool key ctrl+o
sleep 1.5
xdotool type --delay 10 "$work/nadrazi.reru"
xdotool key Return
sleep 1.5
# The page "Výhybky 2" and its sixth picture, a switch; then the pointer over an empty cell.
xdotool mousemove 197 83 click 1
sleep 0.5
xdotool mousemove 300 125 click 1
sleep 0.5
xdotool mousemove 850 560
sleep 1
take_screenshot "$out"
