#!/usr/bin/env bash
# Runs a program on a private X server: moves the mouse into its window, clicks (at 100,80 or at each
# X Y given), types Ctrl+C, closes the window the way a window manager would, and expects exit status 0.
# Usage: display_smoke.sh PROGRAM CLOSE_HELPER [TITLE [X Y]...]
set -euo pipefail
smoke=$1
close_helper=$2
title=${3:-smoke}
shift $(($# < 3 ? $# : 3))
clicks=("$@")
((${#clicks[@]} > 0)) || clicks=(100 80)

source "$(dirname "${BASH_SOURCE[0]}")/../support/private_x_server.sh"

start_in_window 10 "$work/smoke.log" "^$title\$" "$smoke"
if [[ -z $window ]]; then
    echo "error: the window titled '$title' did not appear" >&2
    cat "$work/smoke.log" >&2
    exit 1
fi
for ((i = 0; i + 1 < ${#clicks[@]}; i += 2)); do
    xdotool mousemove --window "$window" "${clicks[i]}" "${clicks[i + 1]}" click 1
    sleep 0.3
done
xdotool key --window "$window" ctrl+c
sleep 0.3
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
