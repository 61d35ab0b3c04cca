#!/usr/bin/env bash
# What the scheduler costs: 200 one-minute 44100 Hz stereo Wave files through volume (50 %)
# then normalize into AU Mu-Law, by kelvane-batch -j 2 alone, and through
# contrib/slurm/kelvane-batch.sbatch on a private single-node Slurm cluster as 1 task of 2
# processors and as 4 tasks of 1 processor. The three take turns for five rounds; medians are
# compared. A Slurm run is timed from sbatch to the job leaving the queue. Beside them, the
# same arrays over an empty list time the scheduler alone, and the processor time the three
# daemons (munged, slurmctld, slurmd) spent over the whole run is given per job. Needs root.
#
#   bench/batch/slurm_array.sh [path/to/kelvane-batch] [files] [seconds a file]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
batch=$(realpath "${1:-build/apps/kelvane-batch/kelvane-batch}")
files=${2:-200}
length=${3:-60}
[[ -x $batch ]] || { echo "kelvane-batch not found at $batch (build it first)" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 1; }
source "$root/scripts/slurm-cluster.sh"

work=$(mktemp -d)
trap 'stop_slurm_cluster; rm -rf "$work"' EXIT
trap 'exit 143' TERM INT
cd "$work"
mkdir in logs

# Twenty distinct tones, each copied to ten names, as bench/batch/batch_vs_sox.sh makes them.
echo "Making $files $length-second 44100 Hz stereo Wave files..."
for i in $(seq 1 "$files"); do
    name=$(printf 'f%03d.wav' "$i")
    tone=$(((i - 1) % 20 + 1))
    if ((i <= 20)); then
        sox -n -r 44100 -c 2 -b 16 "in/$name" synth "$length" sine $((200 + tone * 37)) \
            sine $((300 + tone * 53)) vol 0.4
    else
        cp "in/$(printf 'f%03d.wav' "$tone")" "in/$name"
    fi
done
find in -name '*.wav' >list
: >empty
options=(-q -f au --subformat mulaw --filter volume:LEFTVOLUME=50,RIGHTVOLUME=50 --filter normalize)

start_slurm_cluster >/dev/null

run_alone() { "$batch" -j 2 --files-from list -o out "${options[@]}"; }

# sbatch ARRAY CPUS [LIST]: submits, then polls the queue every 0.1 s until the job has left it.
run_slurm() {
    local job
    job=$(KELVANE_BATCH=$batch KELVANE_REPORT=$work/report.jsonl sbatch --parsable \
        --array="$1" --cpus-per-task="$2" --chdir="$work" --output="$work/logs/%A_%a.out" \
        "$root/contrib/slurm/kelvane-batch.sbatch" "${3:-list}" out "${options[@]}")
    while [[ -n $(squeue -h -j "$job" 2>/dev/null) ]]; do sleep 0.1; done
    [[ $(scontrol -o show job "$job" | grep -c 'JobState=COMPLETED') -eq $(($(cut -d- -f2 <<<"$1") + 1)) ]] ||
        { echo "job $job did not complete" >&2; exit 1; }
}
run_one_task() { run_slurm 0-0 2; }
run_four_tasks() { run_slurm 0-3 1; }
run_one_empty() { run_slurm 0-0 2 empty; }
run_four_empty() { run_slurm 0-3 1 empty; }

# Processor seconds (user + system) the cluster's daemons have used so far.
daemon_cpu() {
    local pid total=0 ticks
    for pid in "${SLURM_CLUSTER_PIDS[@]}"; do
        ticks=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
        total=$((total + ticks))
    done
    awk -v t="$total" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz }'
}

wall() {
    local start end
    rm -rf out && mkdir out
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    local expected=$files
    [[ $1 == *empty ]] && expected=0
    (($(find out -name '*.au' | wc -l) == expected)) || { echo "$1 wrote too few files" >&2; exit 1; }
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}

median() { printf '%s\n' "$@" | sort -g | sed -n "$((($# + 1) / 2))p"; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
alone=() one=() four=() one0=() four0=()
cpu0=$(daemon_cpu)
for round in 1 2 3 4 5; do
    alone+=("$(wall run_alone)")
    one+=("$(wall run_one_task)")
    four+=("$(wall run_four_tasks)")
    one0+=("$(wall run_one_empty)")
    four0+=("$(wall run_four_empty)")
    printf 'round %d: alone -j 2 %s s; Slurm 1 task x 2 cpus %s s; Slurm 4 tasks x 1 cpu %s s;' \
        "$round" "${alone[-1]}" "${one[-1]}" "${four[-1]}"
    printf ' empty list: 1 task %s s, 4 tasks %s s\n' "${one0[-1]}" "${four0[-1]}"
done
cpu=$(awk -v a="$cpu0" -v b="$(daemon_cpu)" 'BEGIN { printf "%.2f", (b - a) / 20 }')
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
a=$(median "${alone[@]}") o=$(median "${one[@]}") f=$(median "${four[@]}")
printf 'median wall: alone %.2f s, Slurm 1 task %.2f s, Slurm 4 tasks %.2f s\n' "$a" "$o" "$f"
printf 'median wall of the scheduler alone (empty list): 1 task %.2f s, 4 tasks %.2f s\n' \
    "$(median "${one0[@]}")" "$(median "${four0[@]}")"
echo "processor time of munged, slurmctld and slurmd: $cpu s a job"
