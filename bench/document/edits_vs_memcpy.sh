#!/usr/bin/env bash
# Small edits of a one-hour 44100 Hz stereo 16-bit sound through the document's commands:
# opening it (beside cp of the file), a fade on one second (with its progress window), Undo,
# Redo, Copy, Paste and Mix of one second, Copy of everything, twenty one-second fades kept as undo levels, and whole-sound Reverse and
# Normalize beside the same effects called in-process. memcpy of one second and cp of the
# file are the peers, measured in the same rounds, and so is the whole-copy path (every new
# sound a whole copy, as before sounds shared pages). Prints the median of each figure.
#
#   bench/document/edits_vs_memcpy.sh [path/to/bench_edits] [rounds]
set -euo pipefail

bench=${1:-build/bench/document/bench_edits}
rounds=${2:-3}
[[ -x $bench ]] || { echo "bench_edits not found at $bench (build it first)" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work

sox -r 44100 -c 2 -n -b 16 "$work/hour.wav" synth 3600 sine 300 sine 500 vol 0.5
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"

for round in $(seq "$rounds"); do
    "$bench" "$work/hour.wav" >>"$work/figures"
    "$bench" "$work/hour.wav" --whole-copy | sed 's/^/whole:/' >>"$work/figures"
    t0=$(date +%s.%N)
    cp "$work/hour.wav" "$work/copy.wav"
    t1=$(date +%s.%N)
    rm -f "$work/copy.wav"
    awk -v a="$t0" -v b="$t1" 'BEGIN { printf "cp_file %.3f ms\n", (b - a) * 1000 }' >>"$work/figures"
done

awk '{ v[$1] = v[$1] " " $2; u[$1] = $3; if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 } }
     END {
         for (i = 1; i <= n; ++i) {
             k = order[i]; m = split(substr(v[k], 2), a, " ")
             for (x = 1; x <= m; ++x) for (y = x + 1; y <= m; ++y) if (a[y] + 0 < a[x] + 0) { t = a[x]; a[x] = a[y]; a[y] = t }
             printf "%-26s %10.3f %s  (median of %d)\n", k, a[int((m + 1) / 2)], u[k], m
         }
     }' "$work/figures"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
