#!/usr/bin/env bash
# Screenshots of the editor for docs/: the main window with two documents, tiled, one with a
# selection; then one document maximized, stereo at the fit zoom and at zoom 64 and mono at the
# fit zoom, each with a selection. Runs under a private X server (xvfb-run) and needs
# ImageMagick's import.
#
#   xvfb-run -a -s '-screen 0 1480x800x24' scripts/screenshots.sh [path/to/kelvane]
set -euo pipefail
editor=${1:-build/apps/kelvane/kelvane}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
sox -D -n -r 44100 -c 2 -b 16 "$work/chord.wav" synth 4 pluck C3 pluck E3 fade 0 4 1
sox -D -n -r 22050 -c 1 -b 16 "$work/sweep.wav" synth 3 sine 100-3000 tremolo 2 80
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" KELVANE_INSTANCE_NAME="kelvane-shots-$$"

# Starts the editor on the files and sizes its window; sets pid and window.
start_editor() {
    "$editor" --nosplash "$@" &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "Kelvane - " | head -1)
    xdotool windowsize "$window" "$width" "$height" windowmove "$window" 0 0
    xdotool mousemove --window "$window" 500 300
    sleep 0.8
}

stop_editor() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}

click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.4
}

drag() {
    xdotool mousemove --window "$window" "$1" "$3" mousedown 1 \
        mousemove --window "$window" $((($1 + $2) / 2)) "$3" mousemove --window "$window" "$2" "$3" \
        mouseup 1
    sleep 0.5
}

shot() {
    import -window root -crop "${width}x${height}+0+0" "docs/$1"
    echo "wrote docs/$1"
}

width=1480 height=800
start_editor "$work/chord.wav" "$work/sweep.wav"
# The Window menu, then Tile.
click 279 8
xdotool key t
sleep 0.5
drag 620 820 520
shot main-window.png
stop_editor

# One document maximized: the zoom buttons sit on its own toolbar below the main one.
width=1000 height=600
readonly zoomIn=212 zoomFit=262 toolbar=65
start_editor "$work/chord.wav"
click 725 62
click $zoomFit $toolbar
drag 300 520 300
shot view-stereo-fit.png
click $zoomIn $toolbar
click $zoomIn $toolbar
drag 200 700 300
shot view-stereo-zoom64.png
stop_editor

start_editor "$work/sweep.wav"
click 725 62
click $zoomFit $toolbar
drag 420 610 300
shot view-mono-fit.png
stop_editor
