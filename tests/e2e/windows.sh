#!/usr/bin/env bash
# A person's first hour with several documents, in real X input on a desktop (desktop.sh):
#  - the last file opened is the active one, and stays so through commands with a progress
#    window (Reverse, Save), so Ctrl+S saves it and no other;
#  - Save As of an AU document writes what its type list shows, and the editor opens it again;
#  - a file handed over by a second copy, or a new document, becomes the active window;
#  - End and Shift+Home select as the menus and tool tips say;
#  - a failed save shows its message after its progress window closed, over the main window.
# Leaves the files it wrote in DIR for the caller to check; stops the editor by its PID.
#   windows.sh EDITOR DIR (DIR holds a.wav, b.wav, c.au and rev.au, a Wave file)
set -euo pipefail
source "$(dirname "$0")/steps.sh"
editor=$1 dir=$2
export KELVANE_INSTANCE_NAME=kelvane-e2e-$$ TMPDIR=$dir
cd "$dir"
"$editor" --nosplash a.wav b.wav c.au &
pid=$!
# Killed outright: unsaved documents would hold a polite end at its save question.
trap 'kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT

main=$(find_window '^Kelvane - c.au') || fail "the main window did not show c.au"
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 400 300
sleep 0.5

title() { xdotool getwindowname "$main"; }
expect_title() {  # expect_title DOCUMENT STEP: the main window names DOCUMENT within 5 s
    for _ in $(seq 50); do
        [ "$(title)" = "Kelvane - $1" ] || [ "$(title)" = "Kelvane - $1*" ] && return 0
        sleep 0.1
    done
    fail "$2: the main window says '$(title)', not 'Kelvane - $1'"
}
wait_changed() {  # wait_changed FILE STAMP STEP: FILE's time and size differ from STAMP within 10 s
    for _ in $(seq 100); do
        [ "$(stat -c %Y.%s "$1" 2>/dev/null)" != "$2" ] && return 0
        sleep 0.1
    done
    fail "$3: $1 was not written"
}
keys() { xdotool key --delay 150 "$@"; sleep 0.4; }

expect_title c.au "the last file opened"
stamp_a=$(stat -c %Y.%s a.wav) stamp_b=$(stat -c %Y.%s b.wav) stamp_c=$(stat -c %Y.%s c.au)
keys shift+a alt+p
keys r
sleep 1
expect_title c.au "after Reverse"
[ "$(title)" = "Kelvane - c.au*" ] || fail "the main window's title lacks the modified mark"
keys ctrl+s
wait_changed c.au "$stamp_c" "Ctrl+S after Reverse"
sleep 0.5
expect_title c.au "after Save"
[ "$(stat -c %Y.%s a.wav)" = "$stamp_a" ] && [ "$(stat -c %Y.%s b.wav)" = "$stamp_b" ] ||
    fail "Ctrl+S wrote another document"

# Save As: the AU type is shown and written, whatever the typed name says.
keys alt+f a
find_window '^Save As' >/dev/null || fail "no Save As dialog"
sleep 0.5
keys ctrl+a
xdotool type --delay 50 "x.wav"
keys Return
for _ in $(seq 100); do [ -s x.wav ] && break; sleep 0.1; done
expect_title x.wav "after Save As"

# A second copy hands over a Wave file named .au: it opens by its contents, in front.
"$editor" --nosplash rev.au
expect_title rev.au "a handed-over file"
# The window manager may keep the keyboard where it was when another program raises a window:
# a person clicks the window then, as this does.
sleep 1
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 0.3

# A save that fails: its message comes after the progress window, centred on the main window.
keys alt+f a
find_window '^Save As' >/dev/null || fail "no Save As dialog"
sleep 0.5
keys ctrl+a
xdotool type --delay 50 "/kelvane-nowhere/x.au"
keys Return
box=$(find_window '^Kelvane$') || fail "no message after the failed save"
! xdotool search --onlyvisible --name '^Processing \.\.\.$' >/dev/null 2>&1 ||
    fail "the progress window is still open under the message"
eval "$(xdotool getwindowgeometry --shell "$main")"
main_x=$((X + WIDTH / 2)) main_y=$((Y + HEIGHT / 2))
eval "$(xdotool getwindowgeometry --shell "$box")"
box_x=$((X + WIDTH / 2)) box_y=$((Y + HEIGHT / 2))
[ $((main_x - box_x)) -lt 60 ] && [ $((box_x - main_x)) -lt 60 ] &&
    [ $((main_y - box_y)) -lt 80 ] && [ $((box_y - main_y)) -lt 80 ] ||
    fail "the message is at $box_x,$box_y, the main window's centre at $main_x,$main_y"
keys Return
expect_title rev.au "after the message"

# End, then Shift+Home selects the whole sound, so Promote has something to promote.
keys End shift+Home
keys ctrl+d
expect_title Wave1 "Promote after End and Shift+Home"
keys ctrl+n
find_window '^Wave Format' >/dev/null || fail "no Wave Format dialog"
keys Return
expect_title Wave2 "a new document"

echo "windows: all steps passed"
