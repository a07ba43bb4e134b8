#!/usr/bin/env bash
# The designer in a real window on a private X server, started from a folder other than its own (its
# art is found beside the program): FILE > New, OK (Return) in the project dialog, Yes to the startup-screen
# question, OK (Return) in the screen dialog; then FILE > Exit, Yes, and No to saving. The designer must end
# with status 0, and the tree must have changed between the first and the second screenshot.
# Usage: builder_smoke.sh TAVBUILDER
# With SMOKE_SHOT_DIR set, the screenshots are also copied there.
set -euo pipefail
builder=$(realpath "$1")

for tool in Xvfb xdotool import compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done

source "$(dirname "${BASH_SOURCE[0]}")/../support/private_x_server.sh"

fail() {
    echo "error: $*" >&2
    [[ -f $work/builder.log ]] && cat "$work/builder.log" >&2
    exit 1
}

# Any argument gives the 800 x 600 window; one of up to five characters shows no frame rate.
mkdir "$work/elsewhere"
# Settings and state go to the test's folder, never into the real home.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
(cd "$work/elsewhere" && SDL_VIDEODRIVER=x11 exec "$builder" win) >"$work/builder.log" 2>&1 &
program=$!

window=$(timeout 15 xdotool search --sync --onlyvisible --name "^Tavrin Controls Builder\$" | head -n 1) || true
[[ -n $window ]] || fail "the designer's window did not appear"
sleep 1

alive() {
    kill -0 "$program" 2>/dev/null || fail "the designer ended early (at: $1)"
}
# Clicks at a point of the window (its own coordinates) and gives the designer time to open what the
# click opens (generously: a sanitizer build is slow).
click() {
    alive "$3"
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 1
}
# Presses a key in the window (a dialog's Return is its OK).
key() {
    alive "$2"
    xdotool key --window "$window" "$1"
    sleep 1
}
shot() {
    import -window root "$work/$1.png"
    if [[ -n ${SMOKE_SHOT_DIR:-} ]]; then
        cp "$work/$1.png" "$SMOKE_SHOT_DIR/"
    fi
}

shot start
# Menu bar titles from x = 0, rows of 15 pixels under the 20-pixel bar.
click 12 10 "FILE"
click 20 27 "FILE > New"
key Return "OK of the project dialog"
click 310 430 "Yes to the startup-screen question"
key Return "OK of the screen dialog"
shot screen
click 12 10 "FILE"
click 20 102 "FILE > Exit" # below New, Open, Save, Save As and a gap
click 310 430 "Yes to the exit question"
click 485 430 "No to the save question"

status=
for _ in $(seq 100); do
    if ! kill -0 "$program" 2>/dev/null; then
        status=0
        wait "$program" || status=$?
        program=
        break
    fi
    sleep 0.1
done
[[ -n $status ]] || fail "the designer did not end after Exit (screenshots: start.png, screen.png)"
((status == 0)) || fail "the designer ended with status $status"

# The project tree (20, 30, 180 x 450) shows the new project and its screen.
changed=$(compare -metric AE -extract 180x450+20+30 "$work/start.png" "$work/screen.png" null: 2>&1 || true)
[[ $changed =~ ^[0-9.e+]+$ ]] || fail "cannot compare the screenshots: $changed"
[[ $changed != 0 ]] || fail "the project tree did not change after New"
echo "builder window smoke test passed"
