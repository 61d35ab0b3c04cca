#!/usr/bin/env bash
# Start-up with a 10-minute 44100 Hz stereo Wave file on the command line: the time from the
# start of the editor to its window showing the sound (mapped, with the file's name in its
# title), under a private X server. Each run ends the editor by its PID; five runs, all shown,
# with the median.
#
#   xvfb-run -a bench/editor/startup.sh [path/to/kelvane]
set -euo pipefail
editor=${1:-build/apps/kelvane/kelvane}
[ -n "${DISPLAY:-}" ] || { echo "run under an X server: xvfb-run -a $0" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -D -n -r 44100 -c 2 -b 16 "$work/ten.wav" synth 600 sine 200-2000 vol 0.5
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" KELVANE_INSTANCE_NAME="kelvane-bench-$$"

times=()
for run in 1 2 3 4 5; do
    sync
    start=$(date +%s.%N)
    "$editor" --nosplash "$work/ten.wav" >/dev/null 2>&1 &
    pid=$!
    timeout 30 xdotool search --sync --onlyvisible --name "Kelvane - ten.wav" >/dev/null
    end=$(date +%s.%N)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    times+=("$t")
    echo "run $run: $t s"
done
median=$(printf '%s\n' "${times[@]}" | sort -g | sed -n 3p)
echo "median start-up with a 10-minute file ($(du -h "$work/ten.wav" | cut -f1)): $median s (goal: 1 s)"
