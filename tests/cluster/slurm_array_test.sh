#!/usr/bin/env bash
# kelvane-batch as a Slurm job array on a private single-node cluster: 200 one-second files
# through contrib/slurm/kelvane-batch.sbatch as 4 tasks must give the bytes of a one-process
# run and a shared report that names every file once; resubmitting after 10 outputs are
# deleted must convert exactly those 10 and leave the others alone. Needs root; a missing
# tool fails the test with its name, and every wait is bounded.
#
#   tests/cluster/slurm_array_test.sh path/to/kelvane-batch
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
batch=$(realpath "${1:-$root/build/apps/kelvane-batch/kelvane-batch}")
source "$root/scripts/slurm-cluster.sh"

fail() {
    echo "slurm array test: FAILED: $*" >&2
    exit 1
}
work=$(mktemp -d)
trap 'stop_slurm_cluster; rm -rf "$work"' EXIT
trap 'exit 143' TERM INT

[[ -x $batch ]] || fail "no kelvane-batch at $batch (build it first)"
command -v sox >/dev/null || fail "sox is missing (Debian package sox)"
options=(-f au --subformat mulaw --filter volume:LEFTVOLUME=50,RIGHTVOLUME=50 --filter normalize)

# A 200-second sweep cut into seconds: every file sounds different. A few names get spaces.
cd "$work" && mkdir in logs
sox -n -r 8000 -c 1 -b 16 sweep.wav synth 200 sine 100-3000 vol 0.5 || fail "sox"
sox sweep.wav in/take.wav trim 0 1 : newfile : restart || fail "sox"
for i in 003 050 117; do mv "in/take$i.wav" "in/take $i (copy).wav"; done
find in -name '*.wav' | sort -R >list
(($(wc -l <list) == 200)) || fail "made $(wc -l <list) files, not 200"

mkdir reference && "$batch" -q -j 1 --files-from list -o reference "${options[@]}" || fail "the one-process run"

start_slurm_cluster || fail "the cluster did not start"

# Submits the array script as 4 tasks, waits for it and checks that every task completed.
run_array() {
    local report=$1 job state deadline=$((SECONDS + 300))
    job=$(KELVANE_BATCH=$batch KELVANE_REPORT=$work/$report timeout 30 sbatch --parsable \
        --array=0-3 --chdir="$work" --output="$work/logs/$report-%a.out" \
        "$root/contrib/slurm/kelvane-batch.sbatch" list out "${options[@]}") ||
        fail "sbatch refused the job"
    while [[ -n $(timeout 10 squeue -h -j "$job" 2>/dev/null) ]]; do
        ((SECONDS < deadline)) || fail "job $job still queued or running after 300 s"
        sleep 0.5
    done
    state=$(timeout 10 scontrol -o show job "$job" | grep -o 'JobState=[A-Z_]* .*ExitCode=[0-9:]*' |
        sed -E 's/JobState=([A-Z_]*) .*ExitCode=([0-9:]*)/\1 \2/' | sort | uniq -c)
    [[ $(echo "$state" | sed -E 's/^ +//') == "4 COMPLETED 0:0" ]] ||
        fail "job $job tasks did not all complete: $state"$'\n'"$(cat "$work"/logs/"$report"-*.out)"
}

# Each input of a report, once per line it has, with its status text.
report_lines() { grep -o '"input":"[^"]*".*"text":"[a-z ]*"' "$1" | sed -E 's/,"output.*"text":/ /'; }

run_array report1.jsonl
diff -r reference out >/dev/null || fail "the array's outputs differ from the one-process run"
lines=$(report_lines report1.jsonl)
(($(wc -l <report1.jsonl) == 200)) || fail "the report has $(wc -l <report1.jsonl) lines, not 200"
[[ $(sort <<<"$lines" | uniq) == "$(sed -E 's/^(.*)$/"input":"\1" "converted"/' list | sort)" ]] ||
    fail "the report does not list every file once as converted"
for task in 0 1 2 3; do
    n=$(grep -c 'finished processing' "logs/report1.jsonl-$task.out")
    ((n == 50)) || fail "task $task converted $n files, not 50"
done

# Ten outputs lost: a resubmission converts exactly those and leaves the rest untouched.
lost=$(ls out | sort | awk 'NR % 20 == 7')
(($(wc -l <<<"$lost") == 10)) || fail "picked the wrong outputs to delete"
while read -r name; do rm "out/$name"; done <<<"$lost"
find out -type f -printf '%f %i %T@\n' | sort >kept-before
run_array report2.jsonl
diff -r reference out >/dev/null || fail "the resubmission's outputs differ from the one-process run"
converted=$(report_lines report2.jsonl | grep '"converted"$' | sed -E 's/^"input":"in\/(.*)\.wav".*/\1.au/' | sort)
[[ $converted == "$lost" ]] || fail "the resubmission converted"$'\n'"$converted"$'\n'"instead of"$'\n'"$lost"
(($(report_lines report2.jsonl | grep -c '"skipped"$') == 190)) || fail "the resubmission did not skip 190 files"
find out -type f -printf '%f %i %T@\n' | sort | grep -Fxf kept-before | cmp -s - kept-before ||
    fail "the resubmission touched outputs that were there"
echo "slurm array test: ok (200 files as 4 tasks, 10 converted again on resubmission)"
