#!/usr/bin/env bash
# Each effect of the processing benchmarks through kelvane-batch, whole process, on one
# 3-minute 44100 Hz 16-bit stereo Wave file written back as Wave, beside the nearest sox
# effect on the same file. sox runs with -D: Kelvane does not dither, so neither side does.
# Runs alternate (kelvane-batch, sox, kelvane-batch, ...), three of each; the medians are
# compared. The time of `kelvane-batch --help` alone comes first: it is the start-up cost.
#
#   bench/batch/effects_vs_sox.sh [path/to/kelvane-batch]
set -euo pipefail

batch=${1:-build/apps/kelvane-batch/kelvane-batch}
[[ -x $batch ]] || { echo "kelvane-batch not found at $batch (build it first)" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/kelvane" "$work/sox"
input=$work/in.wav
sox -n -r 44100 -c 2 -b 16 "$input" synth 180 sine 440 sine 660 vol 0.4

# name | kelvane-batch filter | sox output options | sox effect
effects=(
    "volume 50 %|volume:LEFTVOLUME=50,RIGHTVOLUME=50||vol 0.5"
    "reverse|reverse||reverse"
    "swap|swap||swap"
    "normalize|normalize||norm"
    "center|center||dcshift -0.01"
    "convert 22050 mono 8|convert:SAMPLING RATE=22050,CHANNELS=1,SAMPLE SIZE=8|-b 8|remix - rate -q 22050"
    "echo|echo||echo 1 1 100 0.7"
    "chorus|chorus||chorus 1 1 100 0.7 4.9 2 -s 100 0.49 4.9 2 -s"
    "pitch 150 % resample|pitch:CHANGEPITCH=150,PRESERVELENGTH=0||pitch 702"
    "pitch 150 % keep length|pitch:CHANGEPITCH=150,PRESERVELENGTH=1||pitch 702"
    "stretch 80 %|stretch:COMPRESSEXPAND=80||tempo 1.25"
)

# Wall seconds of one run of the command, its output thrown away.
wall() {
    local TIMEFORMAT='%R'
    { time "$@" >/dev/null 2>&1; } 2>&1
}

median3() { printf '%s\n' "$@" | sort -g | sed -n 2p; }

help_times=()
for _ in 1 2 3; do help_times+=("$(wall "$batch" --help)"); done
printf 'kelvane-batch --help: %s s (median of 3)\n\n' "$(median3 "${help_times[@]}")"

printf '| %-24s | %13s | %8s | %7s |\n' "effect, 3 min stereo" "kelvane-batch" "sox -D" "speedup"
printf '|%s|%s|%s|%s|\n' "--------------------------" "---------------" "----------" "---------"
slowest=""
for row in "${effects[@]}"; do
    IFS='|' read -r name filter soxout soxeffect <<<"$row"
    ours=() theirs=()
    for _ in 1 2 3; do
        rm -f "$work"/kelvane/* "$work"/sox/*
        ours+=("$(wall "$batch" -q -o "$work/kelvane" --filter "$filter" "$input")")
        # shellcheck disable=SC2086  # the options and the effect are words
        theirs+=("$(wall sox -D -V1 "$input" $soxout "$work/sox/in.wav" $soxeffect)")
    done
    [[ -s $work/kelvane/in.wav && -s $work/sox/in.wav ]] ||
        { echo "$name: a side wrote no file" >&2; exit 1; }
    k=$(median3 "${ours[@]}") s=$(median3 "${theirs[@]}")
    x=$(awk -v a="$s" -v b="$k" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }')
    printf '| %-24s | %11s s | %6s s | %6sx |\n' "$name" "$k" "$s" "$x"
    slowest=$(awk -v a="$slowest" -v b="$x" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }')
done
printf '\nslowest speedup: %sx (goal: 2x)\n' "$slowest"
