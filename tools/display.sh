# Sourced by the tools that need a display. When none is set, starts an Xvfb on the first
# free number from 90 up, exports DISPLAY, and stops the server when the script exits.
# QEX_SCREEN sets the screen's size (default 1600x1200x24).
start_display_if_none() {
    [ -n "${DISPLAY:-}" ] && return 0
    local display=90
    while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
    Xvfb ":${display}" -screen 0 "${QEX_SCREEN:-1600x1200x24}" -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
    export DISPLAY=":${display}"
}
