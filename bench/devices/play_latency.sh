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
trap stop_sound_server EXIT
"$1" nullsink.monitor
