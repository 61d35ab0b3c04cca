#!/usr/bin/env bash
# Drives the editor with real X key events: opens WAVE, selects all (Shift+A), reverses through
# the menu keys (Alt+P, R), saves (Ctrl+S) and waits until the file has been rewritten.
# Runs on a desktop (desktop.sh); stops the editor it started by its PID.
set -euo pipefail
editor=$1 wave=$2
export QT_QPA_PLATFORM=xcb
before=$(stat -c %Y.%s "$wave")
"$editor" --nosplash "$wave" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name "Kelvane - $(basename "$wave")" | head -1)
xdotool mousemove --window "$window" 200 200
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
xdotool key --delay 150 shift+a
xdotool key --delay 150 alt+p
sleep 0.3
xdotool key --delay 150 r
sleep 0.5
xdotool key --delay 150 ctrl+s
for _ in $(seq 1 100); do
    [ "$(stat -c %Y.%s "$wave")" != "$before" ] && exit 0
    sleep 0.1
done
echo "the file was not saved" >&2
exit 1
