#!/usr/bin/env bash
# Edits a sound in place inside the container with real X input: embeds WAVE in a container
# document, double-clicks the sound, reverses it through the in-place frame's menu keys (Alt+P,
# R), ends editing with Escape, saves the document (Ctrl+S) and writes its sound to OUT. Then
# edits it again in a window of its own (Edit > Open Sound in Its Window, as where no window can
# be shared), reverses it back, closes that window and writes the saved sound to OUT2.
# Runs on a desktop (desktop.sh) whose bus can start the editor; stops the container by its PID.
# With SHOTS set, leaves screenshots of the inactive and the active container there.
#   inplace.sh CONTAINER WAVE DOCUMENT OUT OUT2
set -euo pipefail
container=$1 wave=$2 document=$3 out=$4 out2=$5
log=$(mktemp)
"$container" --insert "$wave" --save "$document"
"$container" --open "$document" --show >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; rm -f "$log"' EXIT

wait_line() {  # wait_line PATTERN [SKIP]: the log's lines after the first SKIP match PATTERN
    for _ in $(seq 1 300); do
        tail -n +"$((${2:-0} + 1))" "$log" | grep -q -- "$1" && return 0
        sleep 0.1
    done
    echo "the container never said: $1" >&2; cat "$log" >&2; exit 1
}
# The in-place frame has the keyboard (not the container, nor a progress window of the editor).
wait_frame_focus() {
    for _ in $(seq 1 300); do
        [ "$(xdotool getwindowfocus -f getwindowname 2>/dev/null)" = "Kelvane - Embedded sound" ] && return 0
        sleep 0.1
    done
    echo "the in-place frame never got the keyboard" >&2; exit 1
}
shot() { [ -z "${SHOTS:-}" ] || import -window root "$SHOTS/$1.png"; }

window=$(timeout 20 xdotool search --sync --onlyvisible --name "Kelvane Container" | head -1)
wait_line '^picture'
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
shot container-inactive
before=$(grep '^picture' "$log" | tail -1)

# The sound sits below the caption, across the page.
xdotool mousemove --window "$window" 430 160 click --repeat 2 --delay 80 1
wait_line '^active in place'
wait_frame_focus
shot container-active
lines=$(wc -l <"$log")
xdotool key --delay 150 alt+p
sleep 0.3
xdotool key --delay 150 r
wait_line '^picture' "$lines"
wait_frame_focus
xdotool key Escape
wait_line '^deactivated'
after=$(grep '^picture' "$log" | tail -1)
[ "$after" != "$before" ] || { echo "the container's picture did not change" >&2; exit 1; }
shot container-edited

lines=$(wc -l <"$log")
xdotool key ctrl+s
wait_line '^saved' "$lines"
"$container" --open "$document" --data "$out"

xdotool key --delay 150 alt+e
sleep 0.3
xdotool key --delay 150 w
own=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kelvane - Embedded sound$" | head -1)
xdotool windowfocus --sync "$own" 2>/dev/null || true
wait_frame_focus
before=$(grep '^picture' "$log" | tail -1)
lines=$(wc -l <"$log")
xdotool key --delay 150 alt+p
sleep 0.3
xdotool key --delay 150 r
wait_line '^picture' "$lines"
[ "$(grep '^picture' "$log" | tail -1)" != "$before" ] || { echo "the picture did not follow" >&2; exit 1; }
xdotool key alt+F4
wait_line '^deactivated' "$lines"
xdotool windowfocus --sync "$window" 2>/dev/null || true
lines=$(wc -l <"$log")
xdotool key ctrl+s
wait_line '^saved' "$lines"
"$container" --open "$document" --data "$out2"
