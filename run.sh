#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it with the given files.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DKELVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-run --target kelvane -j "$(jobs_count)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Kelvane needs a graphical display: none is set (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
    echo "On a machine without one, run it under a virtual display: xvfb-run -a ./run.sh" >&2
    exit 1
fi
exec build-run/apps/kelvane/kelvane "$@"
