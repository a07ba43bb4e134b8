#!/usr/bin/env bash
# Runs a program on a private X server: moves the mouse into its window, clicks (at 100,80 or at each
# X Y given), closes the window the way a window manager would, and expects exit status 0.
# Usage: display_smoke.sh PROGRAM CLOSE_HELPER [TITLE [X Y]...]
set -euo pipefail
smoke=$1
close_helper=$2
title=${3:-smoke}
shift $(($# < 3 ? $# : 3))
clicks=("$@")
((${#clicks[@]} > 0)) || clicks=(100 80)

if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed: skipped"
    exit 77
fi

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

# -displayfd picks a free display number and writes it to the descriptor once the server is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
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

SDL_VIDEODRIVER=x11 "$smoke" >"$work/smoke.log" 2>&1 &
program=$!

window=$(timeout 10 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1) || true
if [[ -z $window ]]; then
    echo "error: the window titled '$title' did not appear" >&2
    cat "$work/smoke.log" >&2
    exit 1
fi
for ((i = 0; i + 1 < ${#clicks[@]}; i += 2)); do
    xdotool mousemove --window "$window" "${clicks[i]}" "${clicks[i + 1]}" click 1
    sleep 0.3
done
"$close_helper" "$window"

status=0
wait "$program" || status=$?
program=
cat "$work/smoke.log"
if ((status != 0)); then
    echo "error: the smoke program ended with status $status" >&2
    exit 1
fi
echo "display smoke test passed"
