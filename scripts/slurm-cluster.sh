# A private single-node Slurm cluster on this machine, for tests and benchmarks: munged,
# slurmctld and slurmd with a configuration and a key made in a fresh folder, on free local
# ports, started and stopped by process id. Sourced; needs root (Slurm runs jobs as their
# submitter, and only root may run them as anyone).
#
#   start_slurm_cluster || exit 1   # exports SLURM_CONF; sbatch, squeue... now reach it
#   ... sbatch --array=0-3 ...
#   stop_slurm_cluster

SLURM_CLUSTER_DIR=""
SLURM_CLUSTER_PIDS=()

_slurm_port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# Runs "$@" every 0.2 s until it succeeds or $1 seconds pass.
_slurm_wait_for() {
    local seconds=$1 end
    shift
    end=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < end)) || return 1
        sleep 0.2
    done
}

_slurm_node_idle() { [[ $(timeout 5 sinfo -h -N -o %T 2>/dev/null) == idle ]]; }

_slurm_fail() {
    echo "slurm cluster: $1" >&2
    local log
    for log in "$SLURM_CLUSTER_DIR"/log/*; do
        [[ -s $log ]] && { echo "--- $log" >&2; tail -15 "$log" >&2; }
    done
    stop_slurm_cluster
    return 1
}

start_slurm_cluster() {
    local tool
    for tool in munged munge slurmctld slurmd sbatch squeue sinfo scancel; do
        command -v "$tool" >/dev/null || {
            echo "slurm cluster: '$tool' is missing (Debian packages munge, slurmctld, slurmd," \
                "slurm-client)" >&2
            return 1
        }
    done
    [[ $(id -u) -eq 0 ]] || { echo "slurm cluster: must run as root" >&2; return 1; }
    SLURM_CLUSTER_DIR=$(mktemp -d /tmp/kelvane-slurm.XXXXXX)
    local dir=$SLURM_CLUSTER_DIR
    # munged wants its socket folder open to all and its key readable by itself only.
    chmod 755 "$dir"
    mkdir -p "$dir/munge" "$dir/state" "$dir/spool" "$dir/log"
    head -c 1024 /dev/urandom >"$dir/munge/munge.key"
    chmod 400 "$dir/munge/munge.key"

    local port=$((20000 + ($$ % 4000) * 2))
    until _slurm_port_free "$port" && _slurm_port_free $((port + 1)); do port=$((port + 2)); done

    cat >"$dir/slurm.conf" <<CONF
ClusterName=kelvane-test
SlurmctldHost=localhost
SlurmctldPort=$port
SlurmdPort=$((port + 1))
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$dir/munge/munge.socket
CredType=cred/munge
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/log/slurmctld.log
SlurmdLogFile=$dir/log/slurmd.log
MailProg=/bin/true
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
MpiDefault=none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=batch Nodes=localhost Default=YES MaxTime=60 State=UP
CONF
    export SLURM_CONF=$dir/slurm.conf

    munged -F --key-file="$dir/munge/munge.key" --socket="$dir/munge/munge.socket" \
        --pid-file="$dir/munge/munged.pid" --seed-file="$dir/munge/seed" \
        --log-file="$dir/log/munged.log" >"$dir/log/munged.out" 2>&1 &
    SLURM_CLUSTER_PIDS+=($!)
    _slurm_wait_for 15 test -S "$dir/munge/munge.socket" || { _slurm_fail "munged did not start"; return 1; }
    slurmctld -D -i >"$dir/log/slurmctld.out" 2>&1 &
    SLURM_CLUSTER_PIDS+=($!)
    slurmd -D -N localhost >"$dir/log/slurmd.out" 2>&1 &
    SLURM_CLUSTER_PIDS+=($!)
    _slurm_wait_for 60 _slurm_node_idle || { _slurm_fail "the node did not become idle in 60 s"; return 1; }
    echo "slurm cluster: up in $dir (ports $port, $((port + 1)))"
}

# A process of this cluster: a daemon or job step that inherited its SLURM_CONF.
_slurm_ours() { tr '\0' '\n' 2>/dev/null <"/proc/$1/environ" | grep -qxF "SLURM_CONF=$SLURM_CONF"; }

stop_slurm_cluster() {
    [[ -n $SLURM_CLUSTER_DIR ]] || return 0
    # Jobs first, while slurmd can still end their steps.
    timeout 10 scancel --full --quiet --user=root 2>/dev/null
    _slurm_wait_for 15 bash -c '[[ -z $(timeout 5 squeue -h 2>/dev/null) ]]'
    local pid
    # The daemons in reverse order of starting, then any step they left behind.
    for ((i = ${#SLURM_CLUSTER_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${SLURM_CLUSTER_PIDS[i]}
        kill "$pid" 2>/dev/null
        _slurm_wait_for 15 bash -c "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [[ $pid != "$$" ]] && _slurm_ours "$pid" && kill -9 "$pid" 2>/dev/null
    done
    SLURM_CLUSTER_PIDS=()
    rm -rf "$SLURM_CLUSTER_DIR"
    SLURM_CLUSTER_DIR=""
    unset SLURM_CONF
}
