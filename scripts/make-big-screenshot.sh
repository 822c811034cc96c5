#!/usr/bin/env bash
# Takes the README's second screenshot: a big sample station opened from the command line
# in the editor, maximised on a 1920 x 1080 virtual display with a window manager, shown
# whole with "Celý panel" (Ctrl+0).
#
# Usage: scripts/make-big-screenshot.sh [path/to/vedivez] [output.png]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
editor="${1:-$here/../build/app/vedivez}"
out="${2:-$here/../docs/whole-panel.png}"
screen=1920x1080
source "$here/screen-session.sh"

"$here/big-station.sh" "$work/velka-stanice.reru"
start_editor "$work/velka-stanice.reru"
xdotool key ctrl+0
sleep 0.5
# The pointer resting over a track of the second yard: its cell is outlined and named.
xdotool mousemove 460 300
sleep 1.5
take_screenshot "$out"
