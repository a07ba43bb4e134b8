# Sourced by the window smoke tests: a private X server for the test, and the cleanup of everything the
# test started. Sets `work` (a temporary folder) and DISPLAY; the test sets `program` to the pid it starts.
# A test that needs more tools than Xvfb names them in `xvfb_tools` first; without one it is skipped.
# shellcheck disable=SC2086
for tool in Xvfb ${xvfb_tools:-}; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done
work=$(mktemp -d)
xvfb=
program=
cleanup() {
    # Waited for as well, so that no zombie is left behind.
    if [[ -n $program ]]; then
        kill "$program" 2>/dev/null || true
        wait "$program" 2>/dev/null || true
    fi
    if [[ -n $xvfb ]]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# -displayfd picks a free display number (or takes TAV_XVFB_DISPLAY, such as :71) and writes it to the
# descriptor once the server is ready. The test may set xvfb_screen (WIDTHxHEIGHTxDEPTH) first.
# shellcheck disable=SC2086
Xvfb ${TAV_XVFB_DISPLAY:-} -displayfd 3 -screen 0 "${xvfb_screen:-1024x768x24}" -nolisten tcp 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
if [[ ! -s $work/display ]]; then
    echo "error: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=:$(head -n 1 "$work/display")

# The first visible window that `xdotool search` finds with these arguments, waited for up to $1 seconds.
# A search that meets a window being destroyed (SDL makes and drops one while it starts) is tried again.
wait_for_window() {
    local seconds=$1 found _
    shift
    for _ in $(seq $((seconds * 4))); do
        found=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1) || true
        [[ -n $found ]] && { echo "$found"; return 0; }
        sleep 0.25
    done
    return 1
}

# Starts COMMAND with SDL on this X server, its output in LOG, and waits up to SECONDS for its window
# titled TITLE (an extended regular expression); sets `program` and `window` (empty when none came).
# Right after a client is killed the X server may refuse the next one for a moment: a program that ended
# that way is started again, up to three times.
# Usage: start_in_window SECONDS LOG TITLE COMMAND...
start_in_window() {
    local seconds=$1 log=$2 title=$3 _
    shift 3
    for _ in 1 2 3; do
        SDL_VIDEODRIVER=x11 "$@" >"$log" 2>&1 &
        program=$!
        window=$(wait_for_window "$seconds" --name "$title") || true
        [[ -z $window ]] && ! kill -0 "$program" 2>/dev/null && grep -q "x11 not available" "$log" || return 0
        wait "$program" || true
        sleep 0.5
    done
}
