#!/usr/bin/env bash
# Open and Save As with the desktop's file chooser asked for in the settings, with real keys on
# a desktop (desktop.sh): Save As shows its panel first, where typing F picks the FLAC type and
# Enter goes on to the chooser, which proposes the name with .flac; Enter saves. Open then
# takes the FLAC file's name in the chooser and shows it in the preview panel, whose Enter
# opens it. (A desktop without a chooser of its own gives Qt's, as here.)
#   chooser.sh EDITOR WAVE    (the caller's settings hold [FILEDIALOGS] DESKTOP=1)
set -euo pipefail
source "$(dirname "$0")/steps.sh"
editor=$1 wave=$2
flac=${wave%.*}.flac
export KELVANE_INSTANCE_NAME=kelvane-e2e-$$
pid=
trap '[ -z "$pid" ] || { kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; } || true' EXIT

focus() {  # focus TITLE-PATTERN: the window, focused for keys
    local window
    window=$(find_window "$1") || fail "no window \"$1\""
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 0.5
}

"$editor" --nosplash "$wave" &
pid=$!
focus "Kelvane - $(basename "$wave")"
xdotool key --delay 150 alt+f a
focus '^Save As$'
xdotool key --delay 200 F Return
sleep 1
focus '^Save As$'
xdotool key Return
for _ in $(seq 100); do [ -s "$flac" ] && break; sleep 0.1; done
[ -s "$flac" ] || fail "Save As wrote no $flac"

xdotool key --delay 150 ctrl+o
focus '^Open$'
xdotool type --delay 20 "$flac"
xdotool key Return
focus "^$(basename "$flac")\$"
xdotool key Return
find_window "Kelvane - $(basename "$flac")" >/dev/null || fail "the chosen file did not open"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
