#!/usr/bin/env bash
# Pictures of the editor's menus and dialogs for the user guide (docs/guide/), taken from the
# real windows with real keys on a private desktop, at the scale factor given (1 by default).
# Pictures at scale 2 are named NAME@2x.png: browsers take them through the guide's srcset,
# and the help window's own renderer finds them by that name on a display of that scale.
#
#   tests/e2e/desktop.sh --size 1480x900 scripts/guide-shots.sh [path/to/kelvane]
#   tests/e2e/desktop.sh --size 2960x1800 scripts/guide-shots.sh path/to/kelvane 2
#
# With pulseaudio installed it starts a private sound server for the Record dialog; optipng,
# when installed, makes the pictures smaller. SHOTS="help-window about" retakes only those.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
editor=$(realpath "${1:-build/apps/kelvane/kelvane}")
scale=${2:-1}
out=$(realpath -m docs/guide)
suffix=$([ "$scale" = 1 ] && echo "" || echo "@${scale}x")
work=$(mktemp -d)
pid=
source "$here/sound-server.sh"
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    stop_sound_server
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out"
command -v pulseaudio >/dev/null && start_sound_server >/dev/null

# The sounds in a folder of their own, so the file dialogs show only them.
music=$work/Music
concert="$music/Spring concert, recorded in the hall"
mkdir -p "$concert" "$work/tmp"
sox -D -n -r 22050 -c 2 -b 16 "$music/song.wav" synth 6 pluck C3 pluck G3 fade 0 6 2
sox -D -n -r 44100 -c 2 -b 16 "$music/long.wav" synth 600 pinknoise vol 0.3
head -c 20000 /dev/urandom >"$music/take.pcm"
cp "$music/song.wav" "$concert/first movement.wav"
echo "not a sound" >"$concert/damaged.wav"
export QT_SCALE_FACTOR=$scale XDG_CONFIG_HOME="$work/config" KELVANE_INSTANCE_NAME="kelvane-guide-$$"
export TMPDIR=$work/tmp
cd "$music"

"$editor" --nosplash "$music/song.wav" &
pid=$!
find_main() {  # find_main DOCUMENT: the main window once it names DOCUMENT
    local found
    for _ in $(seq 200); do
        found=$(xdotool search --onlyvisible --name "^Kelvane - $1" 2>/dev/null | head -1) &&
            [ -n "$found" ] && { echo "$found"; return; }
        sleep 0.1
    done
}
main=$(find_main song.wav)
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool windowsize "$main" $((1000 * scale)) $((640 * scale)) windowmove "$main" 0 0
sleep 1

# frame_box WINDOW: FX FY FW FH, the window with the window manager's frame around it.
frame_box() {
    local window=$1 parent
    while parent=$(xwininfo -id "$window" -tree | awk '/Parent window id/ {print $4}') &&
        [ "$(xwininfo -id "$parent" | awk '/Absolute upper-left X/ {print $4}')" != "" ] &&
        [ "$(xwininfo -id "$parent" | awk '/Height:/ {print $2}')" -lt "$(xwininfo -root | awk '/Height:/ {print $2}')" ]; do
        window=$parent
    done
    xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# The title bar on the screen: the frame's top left corner at the screen's.
read -r fx fy _ _ < <(frame_box "$main")
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool windowmove "$main" $((X - fx)) $((Y - fy))
sleep 1
xdotool key shift+a
sleep 0.3

keys() { xdotool key --delay 200 "$@"; sleep 0.8; }
saved() {
    command -v optipng >/dev/null && optipng -quiet -o2 "$1"
    echo "wrote $1"
}
wanted() { [ -z "${SHOTS:-}" ] || [[ " $SHOTS " == *" $1 "* ]]; }
# shot NAME: the active window with its frame.
shot() {
    wanted "$1" || return 0
    import -frame -window "$(xdotool getactivewindow)" "$out/$1$suffix.png" 2>/dev/null
    saved "$out/$1$suffix.png"
}
# The box (WxH+X+Y) of what differs between two pictures of the screen above row BOTTOM (the
# status bar below tells what the item under the cursor does).
changed_box() {
    convert "$1" "$2" -crop "x$3+0+0" +repage -compose difference -composite -fuzz 2% -format '%@' info:
}
# popup_shot NAME KEYS...: what KEYS open (a menu, a list) with the active window, or for the
# main window only its top left corner down to the popup.
popup_shot() {
    local name=$1 window fx fy fw fh x y w h
    shift
    window=$(xdotool getactivewindow)
    read -r fx fy fw fh < <(frame_box "$window")
    import -window root "$work/before.png"
    xdotool key --delay 200 "$@"
    sleep 0.8
    import -window root "$work/after.png"
    local above=$((fy + fh - 40 * scale))
    [ "$window" = "$main" ] || above=$(identify -format '%h' "$work/after.png")
    IFS='x+' read -r w h x y <<<"$(changed_box "$work/before.png" "$work/after.png" "$above")"
    local margin=$((10 * scale)) right bottom
    if [ "$window" = "$main" ]; then
        right=$((x + w + margin)) bottom=$((y + h + margin))
    else
        right=$((fx + fw > x + w ? fx + fw : x + w)) bottom=$((fy + fh > y + h ? fy + fh : y + h))
    fi
    wanted "$name" || return 0
    convert "$work/after.png" -crop "$((right - fx))x$((bottom - fy))+$fx+$fy" +repage \
        "$out/$name$suffix.png"
    saved "$out/$name$suffix.png"
}
back_to_main() { xdotool windowactivate --sync "$main" 2>/dev/null || true; sleep 0.3; }
# dialog_shot NAME KEYS...: a dialog opened with KEYS, closed with Escape.
dialog_shot() {
    keys "${@:2}"
    sleep 0.4
    shot "$1"
    keys Escape
    back_to_main
}
type_path() { xdotool type --delay 10 "$1"; sleep 0.3; }

shot main
for menu in file:f edit:e selection:s process:p view:v window:w help:h; do
    popup_shot "menu-${menu%%:*}" "alt+${menu##*:}"
    keys Escape Escape
done

dialog_shot wave-format ctrl+n
dialog_shot open ctrl+o
keys ctrl+o
type_path "$music/take.pcm"
dialog_shot raw-file-format Return
keys Escape
back_to_main

# Save As: the type list, then each type's Options (alt+n, Tab: back to the type list).
keys alt+f a
shot save-as
keys Tab
popup_shot save-as-types alt+Down
keys Escape
for options in format-chooser au-format - realaudio-method raw-data-format \
    options-flac options-ogg options-opus options-mp3; do
    [ "$options" = - ] || { keys alt+o; shot "$options"; keys Escape; }
    keys alt+n Tab Down
done
shot save-as-mp3
keys Escape
back_to_main

dialog_shot properties alt+Return
dialog_shot color alt+f p c
dialog_shot devices alt+f p d
dialog_shot display-format alt+f p f
dialog_shot miscellaneous alt+f p m
dialog_shot selection alt+s s
dialog_shot volume alt+p v
dialog_shot insert-silence alt+p i
dialog_shot echo alt+p e
dialog_shot chorus alt+p c
dialog_shot pitch alt+p p
dialog_shot compress-expand alt+p x
dialog_shot convert-format alt+p o
dialog_shot about alt+h a

# Record: a tool button only, the first of the document's bar.
if [ -n "${KELVANE_SOUND_SERVER:-}" ]; then
    xdotool mousemove --window "$main" $((20 * scale)) $((90 * scale)) click 1
    sleep 1.5
    shot record
    keys Escape
    back_to_main
fi

# Batch: two files (one damaged), two filters with their settings, then the run's log.
keys alt+f b
for file in "first movement.wav" damaged.wav; do
    keys alt+a
    type_path "$concert/$file"
    keys Return
done
keys alt+v Down Down Tab space
keys Return
keys alt+v Down Down Down Down Down Down Down Tab space
keys Return
shot batch
keys alt+f Return
sleep 3
shot batch-progress
keys alt+F4
back_to_main

# Help without a browser: the help window of the editor's own.
keys F1
sleep 1.5
shot help-window
keys alt+F4
back_to_main

# A change that only the recovery of a copy that died can bring back (below).
keys alt+p r

# A long command's progress window: ten minutes of sound saved as MP3.
keys ctrl+o
type_path "$music/long.wav"
keys Return
sleep 4
main=$(find_main long.wav)
back_to_main
keys alt+f a alt+n Tab End Return
sleep 2
shot progress

# A copy that died: the next start offers its changed sound back.
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
"$editor" --nosplash &
pid=$!
for _ in $(seq 200); do
    recover=$(xdotool search --onlyvisible --name '^Recover Sounds' 2>/dev/null | head -1) && [ -n "$recover" ] && break
    sleep 0.1
done
xdotool windowactivate --sync "$recover" 2>/dev/null || true
sleep 1
shot recover
