#!/usr/bin/env bash
# Runs a command on a private desktop: its own X server (Xvfb), the openbox window manager
# (focus and stacking follow a person's desktop only with one) and a private session bus.
# Everything it starts is stopped by PID when the command ends; the command's status is returned.
#   desktop.sh [--size WIDTHxHEIGHT] COMMAND [ARG...]
# DISPLAY and DBUS_SESSION_BUS_ADDRESS are set for the command; QT_QPA_PLATFORM is xcb.
set -uo pipefail
size=1280x800
if [ "${1:-}" = --size ]; then size=$2; shift 2; fi
[ $# -gt 0 ] || { echo "usage: $0 [--size WxH] COMMAND [ARG...]" >&2; exit 2; }
for tool in Xvfb openbox dbus-daemon xprop; do
    command -v "$tool" >/dev/null || { echo "desktop.sh: $tool is missing" >&2; exit 3; }
done

work=$(mktemp -d /tmp/kelvane-desktop-XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
    local tries=$(($1 * 20)); shift
    while [ "$tries" -gt 0 ]; do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; tries=$((tries - 1)); done
    return 1
}

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 20 test -s "$work/display" || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 3; }
export DISPLAY=":$(head -1 "$work/display")"
# Before the bus starts: programs it starts on demand take their platform from it.
export QT_QPA_PLATFORM=xcb

dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" 2>"$work/bus.log" &
pids+=($!)
wait_for 20 test -s "$work/bus" || { echo "the session bus did not start:" >&2; cat "$work/bus.log" >&2; exit 3; }
export DBUS_SESSION_BUS_ADDRESS
DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")

HOME="$work" openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_for 20 wm_running || { echo "openbox did not start:" >&2; cat "$work/openbox.log" >&2; exit 3; }

"$@" &
command_pid=$!
pids=("$command_pid" "${pids[@]}")
wait "$command_pid"
