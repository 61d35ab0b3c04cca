#!/usr/bin/env bash
# Starts a private sound server (a null sink), runs the play latency benchmark against it and
# stops the server again.
#
#   bench/devices/play_latency.sh path/to/bench_play_latency
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/sound-server.sh
source "$here/../../scripts/sound-server.sh"
start_sound_server >/dev/null
# An idle null sink renders in blocks of two seconds; a low-latency stream of silence keeps it
# at 20 ms, as a sound card would be.
pacat --raw --latency-msec=20 /dev/zero &
keeper=$!
trap 'kill "$keeper"; wait "$keeper" 2>/dev/null; stop_sound_server' EXIT
sleep 2.5
"$1" nullsink.monitor
