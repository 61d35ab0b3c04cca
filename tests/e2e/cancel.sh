#!/usr/bin/env bash
# Cancel with real input on a desktop (desktop.sh), on an hour-long sound: Enter and Escape in
# the progress window of Change Pitch cancel nothing, a click on Cancel ends it and leaves the
# document unmodified, and after a Reverse a click on Cancel while Ctrl+S writes leaves the file
# as it was (the caller compares it). Stops the editor by its PID.
#   cancel.sh EDITOR FILE
set -euo pipefail
source "$(dirname "$0")/steps.sh"
editor=$1 file=$2
export KELVANE_INSTANCE_NAME=kelvane-e2e-$$
name=$(basename "$file")
"$editor" --nosplash "$file" &
pid=$!
# Killed outright: a polite end would ask about the reversed sound. The caller gives it a
# temporary folder of its own, which goes with what the editor left there.
trap 'kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT

progress_open() { xdotool search --onlyvisible --name '^Processing \.\.\.$' >/dev/null 2>&1; }
click_cancel() {  # click_cancel STEP: clicks Cancel in the progress window, which then closes
    local window
    window=$(find_window '^Processing \.\.\.$' 100) || fail "$1: no progress window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # The button sits at the window's bottom right corner, inside the layout's margin.
    xdotool mousemove --window "$window" $((WIDTH - 50)) $((HEIGHT - 24)) click 1
    for _ in $(seq 40); do
        progress_open || return 0
        sleep 0.05
    done
    fail "$1: the progress window stayed open after Cancel"
}

main=$(find_window "^Kelvane - $name\$" 600) || fail "the sound did not open"
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 0.5

xdotool key --delay 200 shift+a alt+p p
find_window '^Change Pitch' 50 >/dev/null || fail "no Change Pitch dialog"
sleep 0.5
xdotool key Return
find_window '^Processing \.\.\.$' 100 >/dev/null || fail "Change Pitch showed no progress window"
xdotool key --delay 100 Return Escape
sleep 0.3
progress_open || fail "Enter or Escape ended Change Pitch (or it was too quick to cancel)"
click_cancel "Change Pitch"
sleep 0.5
[ "$(xdotool getwindowname "$main")" = "Kelvane - $name" ] ||
    fail "after Cancel the main window says '$(xdotool getwindowname "$main")'"

# The click went to the progress window: the keys go back to the main window, as a person's would.
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 0.3
# Save writes only a changed sound: Reverse changes it.
xdotool key --delay 200 alt+p r
for _ in $(seq 600); do
    [ "$(xdotool getwindowname "$main")" = "Kelvane - $name*" ] && ! progress_open && break
    sleep 0.1
done
[ "$(xdotool getwindowname "$main")" = "Kelvane - $name*" ] || fail "Reverse did not finish"
xdotool key ctrl+s
click_cancel "Save"
sleep 0.5
find_window '^Kelvane$' 5 >/dev/null && fail "Cancel brought a message"
echo "cancel: all steps passed"
