#!/usr/bin/env bash
# The designer in a real window on a private X server of 2400 x 1800, started from a folder other than its
# own (its art is found beside the program). It starts at twice its size (the screen has room for that),
# is resized to 1700 x 1300 (twice the size between bars of 50 pixels) and driven there: FILE > New, OK
# (Return) in the project dialog, Yes to the startup-screen question, OK (Return) in the screen dialog;
# then FILE > Exit, Yes, and No to saving. The designer must end with status 0, and the tree must have
# changed between the first and the second screenshot. Then `--scale 2` with a project path holding
# spaces: the window starts at 1600 x 1200 and, grown to the whole screen, keeps the factor (FILE opens at
# its place twice the size, centred) and shows the project in the tree.
# Usage: builder_smoke.sh TAVBUILDER
# With SMOKE_SHOT_DIR set, the screenshots are also copied there.
set -euo pipefail
builder=$(realpath "$1")

xvfb_tools="xdotool import compare"

xvfb_screen=2400x1800x24
source "$(dirname "${BASH_SOURCE[0]}")/../support/private_x_server.sh"

fail() {
    echo "error: $*" >&2
    [[ -f $work/builder.log ]] && cat "$work/builder.log" >&2
    exit 1
}

# Any argument gives a window; one of up to five characters shows no frame rate.
mkdir "$work/elsewhere"
# Settings and state go to the test's folder, never into the real home.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
(cd "$work/elsewhere" && SDL_VIDEODRIVER=x11 exec "$builder" win) >"$work/builder.log" 2>&1 &
program=$!

find_window() {
    window=$(wait_for_window 15 --name "Tavrin Controls Builder\$") || true
    [[ -n $window ]] || fail "the designer's window did not appear"
    sleep 1
}
# The window's size, WIDTHxHEIGHT.
size() {
    xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}
# The picture's factor and place in the window, for clicks given in the designer's own pixels.
factor=2 left=50 top=50
find_window
[[ $(size) == 1600x1200 ]] || fail "the window started at $(size), not twice 800 x 600"
xdotool windowsize "$window" 1700 1300
sleep 1

alive() {
    kill -0 "$program" 2>/dev/null || fail "the designer ended early (at: $1)"
}
# Clicks at a point of the window (its own coordinates) and gives the designer time to open what the
# click opens (generously: a sanitizer build is slow).
click() {
    alive "$3"
    xdotool mousemove --window "$window" $((left + $1 * factor)) $((top + $2 * factor)) click 1
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
changed=$(compare -metric AE -extract 360x900+90+110 "$work/start.png" "$work/screen.png" null: 2>&1 || true)
[[ $changed =~ ^[0-9.e+]+$ ]] || fail "cannot compare the screenshots: $changed"
[[ $changed != 0 ]] || fail "the project tree did not change after New"

# A path with spaces, as a file manager passes it; the window keeps the factor asked for when it grows.
mkdir -p "$work/a b"
cp "$(dirname "${BASH_SOURCE[0]}")/../../examples/minimal.tvp" "$work/a b/my project.tvp"
SDL_VIDEODRIVER=x11 "$builder" --scale 2 "$work/a b/my project.tvp" >"$work/builder.log" 2>&1 &
program=$!
find_window
[[ $(size) == 1600x1200 ]] || fail "--scale 2 started at $(size), not 1600x1200"
title=$(xdotool getwindowname "$window")
[[ $title == "my project - Tavrin Controls Builder" ]] || fail "the window's title is \"$title\""
xdotool windowsize "$window" 2400 1800
sleep 1
left=400 top=300
shot scaled
click 12 10 "FILE at twice its size"
shot menu
opened=$(compare -metric AE -extract 120x100+400+340 "$work/scaled.png" "$work/menu.png" null: 2>&1 || true)
[[ $opened =~ ^[0-9.e+]+$ && $opened != 0 ]] || fail "FILE did not open at its scaled place ($opened)"
# The tree shows the project rather than "No Project Loaded".
project=$(compare -metric AE "$work/start.png[360x900+90+110]" "$work/scaled.png[360x900+440+360]" null: 2>&1 || true)
[[ $project =~ ^[0-9.e+]+$ && $project != 0 ]] || fail "the project was not opened ($project)"
echo "builder window smoke test passed"
