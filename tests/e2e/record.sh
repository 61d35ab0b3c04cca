#!/usr/bin/env bash
# A take at a real desktop (desktop.sh) with the sound server of ./test.sh: a click on the
# document's Record button opens the Recording window; a tone played into the server's sink
# meanwhile is what its loop-back source records; Close ends the take, which replaces the
# sound and marks the document modified; Ctrl+S saves it over the file. Stops the editor by
# its PID.
#   record.sh EDITOR FILE TONE (FILE: the document; TONE: the sound to play during the take)
set -euo pipefail
source "$(dirname "$0")/steps.sh"
editor=$1 file=$2 tone=$3
export KELVANE_INSTANCE_NAME=kelvane-e2e-$$ TMPDIR=$(dirname "$file")
"$editor" --nosplash "$file" &
pid=$!
player=
trap '[ -n "$player" ] && kill "$player" 2>/dev/null; kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT

name=$(basename "$file")
main=$(find_window "^Kelvane - $name") || fail "the main window did not show $name"
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool windowsize --sync "$main" 900 600
sleep 0.5

# The Record button is the first of the document window's bar, which opens at the top left.
xdotool mousemove --window "$main" 20 90 click 1
find_window '^Recording$' >/dev/null || fail "the Record button opened no Recording window"
paplay -d nullsink "$tone" &
player=$!
wait "$player" || fail "paplay could not play the tone"
player=
sleep 0.5
xdotool key Return
for _ in $(seq 50); do
    [ "$(xdotool getwindowname "$main")" = "Kelvane - $name*" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowname "$main")" = "Kelvane - $name*" ] ||
    fail "after the take the main window says '$(xdotool getwindowname "$main")', not modified"
stamp=$(stat -c %Y.%s "$file")
xdotool key ctrl+s
for _ in $(seq 100); do
    [ "$(stat -c %Y.%s "$file")" != "$stamp" ] && exit 0
    sleep 0.1
done
fail "Ctrl+S did not save the take"
