#!/usr/bin/env bash
# Starts the editor with a file and waits until its window shows that file; then stops the
# editor by its PID. Runs on a desktop (desktop.sh).
#   opens.sh EDITOR FILE
set -euo pipefail
editor=$1 file=$2
"$editor" --nosplash "$file" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT
timeout 30 xdotool search --sync --onlyvisible --name "Kelvane - $(basename "$file")" >/dev/null
