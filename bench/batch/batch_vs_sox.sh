#!/usr/bin/env bash
# Batch conversion beside sox: twenty 1-minute 44100 Hz stereo Wave files through volume
# (50 %) then normalize into AU Mu-Law, by kelvane-batch in one run and by a shell loop of
# sox -D (Kelvane does not dither, so neither side does). Each side runs three times in turn;
# the medians of each are compared.
#
#   bench/batch/batch_vs_sox.sh [path/to/kelvane-batch]
set -euo pipefail

batch=${1:-build/apps/kelvane-batch/kelvane-batch}
[[ -x $batch ]] || { echo "kelvane-batch not found at $batch (build it first)" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/kelvane" "$work/sox"

echo "Making 20 one-minute 44100 Hz stereo Wave files..."
for i in $(seq -w 1 20); do
    sox -n -r 44100 -c 2 -b 16 "$work/in/f$i.wav" synth 60 sine $((200 + 10#$i * 37)) \
        sine $((300 + 10#$i * 53)) vol 0.4
done

run_kelvane() {
    "$batch" -q -o "$work/kelvane" -f au --subformat mulaw \
        --filter volume:LEFTVOLUME=50,RIGHTVOLUME=50 --filter normalize "$work"/in/*.wav
}

run_sox() {
    for f in "$work"/in/*.wav; do
        sox -D -V1 "$f" -e mu-law "$work/sox/$(basename "$f" .wav).au" vol 0.5 norm
    done
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
    printf 'round %d: kelvane-batch %.2f s wall %.2f s cpu; sox -D %.2f s wall %.2f s cpu\n' \
        "$round" "$w" "$c" "$w2" "$c2"
done
kw=$(median3 "${kws[@]}") kc=$(median3 "${kcs[@]}")
sw=$(median3 "${sws[@]}") sc=$(median3 "${scs[@]}")

# Both sides must have written the same kind of file.
soxi -e "$work/kelvane/f01.au" | grep -q "u-law" || { echo "kelvane-batch did not write Mu-Law" >&2; exit 1; }
soxi -e "$work/sox/f01.au" | grep -q "u-law" || { echo "sox did not write Mu-Law" >&2; exit 1; }

printf 'median wall: kelvane-batch %.2f s, sox -D %.2f s: %.2fx as fast\n' \
    "$kw" "$sw" "$(awk -v a="$sw" -v b="$kw" 'BEGIN { print a / b }')"
printf 'median cpu:  kelvane-batch %.2f s, sox -D %.2f s: %.2fx as fast\n' \
    "$kc" "$sc" "$(awk -v a="$sc" -v b="$kc" 'BEGIN { print a / b }')"
