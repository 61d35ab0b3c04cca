#!/usr/bin/env bash
# Copy and Paste of a one-hour 44100 Hz stereo 16-bit sound through the clipboard commands,
# beside cp of the same file. Copy writes the sound's bytes once and a Paste over the whole
# sound writes them once more, so the pair should take about as long as two cp runs. A Paste
# at the end writes the document and the clipboard sound: two copies by itself. Three rounds;
# the best time of each is kept. The editor's temporary files and cp's copy share one folder.
#
#   bench/document/clipboard_vs_cp.sh [path/to/bench_clipboard]
set -euo pipefail

bench=${1:-build/bench/document/bench_clipboard}
[[ -x $bench ]] || { echo "bench_clipboard not found at $bench (build it first)" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work

echo "Making a one-hour 44100 Hz stereo 16-bit Wave file..."
sox -r 44100 -c 2 -n -b 16 "$work/hour.wav" synth 3600 sine 300 sine 500 vol 0.5

now() { date +%s.%N; }
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }

bc="" bo="" ba="" bcp=""
for round in 1 2 3; do
    read -r bytes copy over append <<<"$("$bench" "$work/hour.wav")"
    t0=$(now)
    cp "$work/hour.wav" "$work/copy.wav"
    t1=$(now)
    rm -f "$work/copy.wav"
    cpt=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
    bc=$(best "$bc" "$copy") bo=$(best "$bo" "$over") ba=$(best "$ba" "$append") bcp=$(best "$bcp" "$cpt")
    printf 'round %d: Copy %.2f s, Paste over all %.2f s, Paste at end %.2f s; cp %.2f s\n' \
        "$round" "$copy" "$over" "$append" "$cpt"
done

printf '%.0f MB a copy. Best: Copy + Paste over all %.2f s, Paste at end %.2f s, cp twice %.2f s\n' \
    "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" "$(awk -v a="$bc" -v b="$bo" 'BEGIN { print a + b }')" \
    "$ba" "$(awk -v a="$bcp" 'BEGIN { print 2 * a }')"
printf 'Copy + Paste over all against cp twice: %.2fx the time\n' \
    "$(awk -v a="$bc" -v b="$bo" -v c="$bcp" 'BEGIN { print (a + b) / (2 * c) }')"
