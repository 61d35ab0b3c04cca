#!/usr/bin/env bash
# Crash recovery with real input on a desktop (desktop.sh): reverses WAVE (Shift+A, Alt+P, R),
# kills the editor with SIGKILL once the change is kept, starts it again, takes "Recover" in
# "Recover Sounds" with Enter and saves the recovered sound with Ctrl+S; a clean end then
# leaves nothing in the temporary folder (the caller gives it TMPDIR and compares the file).
# KELVANE_RECOVER_SHOT names a picture of the desktop taken while the dialog shows.
#   recover.sh EDITOR WAVE
set -euo pipefail
source "$(dirname "$0")/steps.sh"
editor=$1 wave=$2
export KELVANE_INSTANCE_NAME=kelvane-e2e-$$
own="$TMPDIR/kelvane-$(id -u)"
pid=
trap '[ -z "$pid" ] || { kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; } || true' EXIT

focus() {  # focus TITLE-PATTERN: the window, focused for keys
    local window
    window=$(find_window "$1") || fail "no window \"$1\""
    xdotool mousemove --window "$window" 100 100
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 0.5
}

"$editor" --nosplash "$wave" &
pid=$!
focus "Kelvane - $(basename "$wave")"
xdotool key --delay 150 shift+a alt+p
sleep 0.3
xdotool key --delay 150 r
for _ in $(seq 100); do
    compgen -G "$own/session-*/doc-*.json" >/dev/null && break
    sleep 0.1
done
compgen -G "$own/session-*/doc-*.json" >/dev/null || fail "the change was not kept for recovery"
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true

before=$(stat -c %Y.%s "$wave")
"$editor" --nosplash &
pid=$!
focus '^Recover Sounds$'
[ -z "${KELVANE_RECOVER_SHOT:-}" ] || import -window root "$KELVANE_RECOVER_SHOT"
xdotool key Return
focus "Kelvane - $(basename "$wave")"
xdotool key --delay 150 ctrl+s
for _ in $(seq 100); do
    [ "$(stat -c %Y.%s "$wave")" != "$before" ] && break
    sleep 0.1
done
[ "$(stat -c %Y.%s "$wave")" != "$before" ] || fail "the recovered sound was not saved"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
left=$(find "$own" -mindepth 1 2>/dev/null)
[ -z "$left" ] || fail "left behind: $left"
