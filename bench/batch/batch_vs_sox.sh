#!/usr/bin/env bash
# Batch conversion beside sox: 200 one-minute 44100 Hz stereo Wave files through volume (50 %)
# then normalize into AU Mu-Law, by kelvane-batch with two workers and by sox run two at a
# time by xargs. sox runs with -D: kelvane-batch does not dither, so neither side does. Each
# side runs three times in turn; the medians of each are compared.
#
#   bench/batch/batch_vs_sox.sh [path/to/kelvane-batch] [files] [jobs]
set -euo pipefail

batch=${1:-build/apps/kelvane-batch/kelvane-batch}
files=${2:-200}
jobs=${3:-2}
[[ -x $batch ]] || { echo "kelvane-batch not found at $batch (build it first)" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/kelvane" "$work/sox"

# Twenty distinct tones, each copied to ten names: making 200 minutes of sound with sox would
# take longer than the comparison.
echo "Making $files one-minute 44100 Hz stereo Wave files..."
for i in $(seq 1 "$files"); do
    name=$(printf 'f%03d.wav' "$i")
    tone=$(((i - 1) % 20 + 1))
    if ((i <= 20)); then
        sox -n -r 44100 -c 2 -b 16 "$work/in/$name" synth 60 sine $((200 + tone * 37)) \
            sine $((300 + tone * 53)) vol 0.4
    else
        cp "$work/in/$(printf 'f%03d.wav' "$tone")" "$work/in/$name"
    fi
done

run_kelvane() {
    "$batch" -q -j "$jobs" -o "$work/kelvane" -f au --subformat mulaw \
        --filter volume:LEFTVOLUME=50,RIGHTVOLUME=50 --filter normalize "$work"/in/*.wav
}

run_sox() {
    printf '%s\0' "$work"/in/*.wav | xargs -0 -P "$jobs" -I{} \
        sh -c 'sox -D -V1 "$1" -e mu-law "$2/$(basename "$1" .wav).au" vol 0.5 norm' \
        _ {} "$work/sox"
}

# Wall time, and processor time (user + system, children included): on a busy machine the
# second says more than the first.
measure() {
    local TIMEFORMAT='%R %U %S'
    local t
    t=$({ time "$1" >/dev/null 2>&1; } 2>&1)
    read -r wall user sys <<<"$t"
    echo "$wall $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')"
}

median3() { printf '%s\n' "$@" | sort -g | sed -n 2p; }

kws=() kcs=() sws=() scs=()
for round in 1 2 3; do
    rm -f "$work"/kelvane/* "$work"/sox/*
    read -r w c <<<"$(measure run_kelvane)"
    kws+=("$w") kcs+=("$c")
    read -r w2 c2 <<<"$(measure run_sox)"
    sws+=("$w2") scs+=("$c2")
    printf 'round %d: kelvane-batch -j %d %.2f s wall %.2f s cpu; sox -D (xargs -P %d) %.2f s wall %.2f s cpu\n' \
        "$round" "$jobs" "$w" "$c" "$jobs" "$w2" "$c2"
done
kw=$(median3 "${kws[@]}") kc=$(median3 "${kcs[@]}")
sw=$(median3 "${sws[@]}") sc=$(median3 "${scs[@]}")

# Both sides must have written every file, and the same kind of file.
for side in kelvane sox; do
    count=$(find "$work/$side" -name '*.au' | wc -l)
    ((count == files)) || { echo "$side wrote $count of $files files" >&2; exit 1; }
    soxi -e "$work/$side/f001.au" | grep -q "u-law" || { echo "$side did not write Mu-Law" >&2; exit 1; }
done

printf 'median wall: kelvane-batch %.2f s, sox -D %.2f s: %.2fx as fast\n' \
    "$kw" "$sw" "$(awk -v a="$sw" -v b="$kw" 'BEGIN { print a / b }')"
printf 'median cpu:  kelvane-batch %.2f s, sox -D %.2f s: %.2fx as fast\n' \
    "$kc" "$sc" "$(awk -v a="$sc" -v b="$kc" 'BEGIN { print a / b }')"
