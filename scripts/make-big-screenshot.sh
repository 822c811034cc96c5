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
work="$(mktemp -d)"
display=":$((100 + RANDOM % 100))"
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
pids=()
trap cleanup EXIT

"$here/big-station.sh" "$work/velka-stanice.reru"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY="$display" HOME="$work" XDG_RUNTIME_DIR="$work"
unset QT_QPA_PLATFORM
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$editor" "$work/velka-stanice.reru" >/dev/null 2>&1 &
pids+=($!)
xdotool search --sync --onlyvisible --name "VediVEZ v0.4" >/dev/null
sleep 1.5
xdotool key ctrl+0
sleep 0.5
# The pointer resting over a switch of the second yard: its cell is outlined and named.
xdotool mousemove 460 300
sleep 1.5
mkdir -p "$(dirname "$out")"
import -window root "$work/shot.png"
convert "$work/shot.png" -strip "$out"
echo "wrote $out"
