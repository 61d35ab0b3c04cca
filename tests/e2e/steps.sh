# Steps the end-to-end scripts share; sourced, not run.

# fail MESSAGE: says why and ends the script, leaving a picture of the desktop when
# KELVANE_E2E_SHOT names a file for it.
fail() {
    echo "$*" >&2
    [ -z "${KELVANE_E2E_SHOT:-}" ] || import -window root "$KELVANE_E2E_SHOT" 2>/dev/null || true
    exit 1
}

# find_window TITLE-PATTERN [TENTHS]: the first visible window of that title, waiting up to
# TENTHS tenths of a second (20 s unless told).
find_window() {
    local found
    for _ in $(seq "${2:-200}"); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}
