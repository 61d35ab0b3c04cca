# A private PulseAudio server with a null sink and a recordable loopback source, for the
# device tests. Started and stopped by PID; nothing of the user's session is touched.

SOUND_PIDS=()

start_sound_server() {
    export XDG_RUNTIME_DIR
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/kelvane-pulse-XXXXXX)
    chmod 700 "$XDG_RUNTIME_DIR"
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
    export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
    HOME="$XDG_RUNTIME_DIR" pulseaudio --daemonize=no --exit-idle-time=-1 --realtime=no \
        --high-priority=no -n --disallow-exit \
        --load="module-null-sink sink_name=nullsink" \
        --load="module-remap-source master=nullsink.monitor source_name=nullsink_loop" \
        --load="module-native-protocol-unix auth-anonymous=1" \
        >"$XDG_RUNTIME_DIR/pulseaudio.log" 2>&1 &
    SOUND_PIDS+=($!)
    local i
    for i in $(seq 1 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! pactl info >/dev/null 2>&1; then
        echo "The sound server did not start:" >&2
        cat "$XDG_RUNTIME_DIR/pulseaudio.log" >&2
        return 1
    fi
    pactl set-default-sink nullsink
    pactl set-default-source nullsink_loop
    # Playback on an idle null sink can stall unless something records its monitor.
    pacat --record -d nullsink.monitor --raw >/dev/null 2>&1 &
    SOUND_PIDS+=($!)
    export KELVANE_SOUND_SERVER=1
    echo "Sound server running at $PULSE_SERVER"
}

stop_sound_server() {
    local pid
    for pid in "${SOUND_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${SOUND_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
    SOUND_PIDS=()
    [ -n "${XDG_RUNTIME_DIR:-}" ] && [[ "$XDG_RUNTIME_DIR" == /tmp/kelvane-pulse-* ]] \
        && rm -rf "$XDG_RUNTIME_DIR"
}
