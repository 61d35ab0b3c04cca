#!/usr/bin/env bash
# Screenshots of the editor for docs/: the main window with two documents, tiled, one with a
# selection. Runs under a private X server (xvfb-run) and needs ImageMagick's import.
#
#   xvfb-run -a -s '-screen 0 1480x800x24' scripts/screenshots.sh [path/to/kelvane]
set -euo pipefail
editor=${1:-build/apps/kelvane/kelvane}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -D -n -r 44100 -c 2 -b 16 "$work/chord.wav" synth 4 pluck C3 pluck E3 fade 0 4 1
sox -D -n -r 22050 -c 1 -b 16 "$work/sweep.wav" synth 3 sine 100-3000 tremolo 2 80
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" KELVANE_INSTANCE_NAME="kelvane-shots-$$"
"$editor" --nosplash "$work/chord.wav" "$work/sweep.wav" &
pid=$!
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
window=$(timeout 30 xdotool search --sync --onlyvisible --name "Kelvane - " | head -1)
xdotool windowsize "$window" 1480 800 windowmove "$window" 0 0
xdotool mousemove --window "$window" 500 300
sleep 0.5
# The Window menu, then Tile.
xdotool mousemove --window "$window" 279 8 click 1
sleep 0.4
xdotool key t
sleep 0.5
xdotool mousemove --window "$window" 620 520 mousedown 1 mousemove --window "$window" 700 520 mousemove --window "$window" 820 520 mouseup 1
sleep 0.5
import -window root -crop 1480x800+0+0 docs/main-window.png
echo "wrote docs/main-window.png"
