# Shared pieces of the scripts: a private X server and a persistent wineserver, both stopped on exit.
VELA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

vela_cleanup_actions=()
vela_on_exit() { vela_cleanup_actions+=("$1"); }
vela_run_cleanup() {
    local i
    for ((i = ${#vela_cleanup_actions[@]} - 1; i >= 0; i--)); do eval "${vela_cleanup_actions[i]}" || true; done
}
trap vela_run_cleanup EXIT

# Starts Xvfb on the first free display and exports DISPLAY; stopped by PID on exit.
vela_start_xvfb() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        local pid=$!
        local tries
        for tries in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null; then
            export DISPLAY=":$n"
            vela_on_exit "kill $pid 2>/dev/null; wait $pid 2>/dev/null"
            return 0
        fi
    done
    echo "no free X display" >&2
    return 1
}

# Starts the persistent wineserver of the project's prefix before any test runs, so that Wine's
# background processes never inherit ctest's pipes; stopped on exit.
vela_start_wineserver() {
    source "$VELA_ROOT/scripts/wine-env"
    wineserver -p
    wine wineboot </dev/null >/dev/null 2>&1
    vela_on_exit "source '$VELA_ROOT/scripts/wine-env'; wineserver -k 2>/dev/null"
}
