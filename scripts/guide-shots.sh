#!/usr/bin/env bash
# Pictures of the editor's menus and dialogs for the user guide (docs/guide/), taken from the
# real windows with real keys on a private desktop, at the scale factor given (1 by default;
# pictures at other scales get the factor in their names, "-x2.png").
#
#   tests/e2e/desktop.sh --size 1480x900 scripts/guide-shots.sh [path/to/kelvane] [SCALE]
set -euo pipefail
editor=$(realpath "${1:-build/apps/kelvane/kelvane}")
scale=${2:-1}
out=docs/guide
suffix=$([ "$scale" = 1 ] && echo "" || echo "-x$scale")
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$out"
sox -D -n -r 22050 -c 2 -b 16 "$work/song.wav" synth 6 pluck C3 pluck G3 fade 0 6 2
export QT_SCALE_FACTOR=$scale XDG_CONFIG_HOME="$work/config" KELVANE_INSTANCE_NAME="kelvane-guide-$$"
export TMPDIR=$work

"$editor" --nosplash "$work/song.wav" &
pid=$!
main=
for _ in $(seq 200); do
    main=$(xdotool search --onlyvisible --name '^Kelvane - song.wav' 2>/dev/null | head -1) && [ -n "$main" ] && break
    sleep 0.1
done
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool windowsize "$main" $((1000 * scale)) $((640 * scale)) windowmove "$main" 0 0
sleep 1
xdotool key shift+a
sleep 0.3

# shot NAME: the active window with its frame, or the whole screen's top left for a menu.
shot() {
    local window
    window=$(xdotool getactivewindow)
    import -frame -window "$window" "$out/$1$suffix.png" 2>/dev/null
    echo "wrote $out/$1$suffix.png"
}
menu_shot() {  # menu_shot NAME KEYS...: a menu opened with KEYS, over the main window
    xdotool key --delay 200 "${@:2}"
    sleep 0.6
    import -window root -crop "$((1000 * scale))x$((640 * scale))+0+0" "$out/$1$suffix.png"
    echo "wrote $out/$1$suffix.png"
    xdotool key Escape Escape Escape
    sleep 0.3
}
dialog_shot() {  # dialog_shot NAME KEYS...: a dialog opened with KEYS, closed with Escape
    xdotool key --delay 200 "${@:2}"
    sleep 1.2
    shot "$1"
    xdotool key Escape
    sleep 0.5
    xdotool windowactivate --sync "$main" 2>/dev/null || true
}

shot main
for menu in file:f edit:e selection:s process:p view:v window:w help:h; do
    menu_shot "menu-${menu%%:*}" "alt+${menu##*:}"
done
dialog_shot wave-format ctrl+n
dialog_shot open ctrl+o
dialog_shot save-as alt+f a
dialog_shot properties alt+Return
dialog_shot batch alt+f b
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
