#!/usr/bin/env bash
# GENERATE CODE > Build and Run in a real window: the designer opens a small project, F9 generates it
# beside the project file and builds it for real in the background; meanwhile the designer answers (FILE
# opens); the program's own window must appear. Then an error put into the generated entry point is
# kept, and the next F9 lists it. Both are closed at the end.
# Usage: build_run_smoke.sh TAVBUILDER
# With SMOKE_SHOT_DIR set, the screenshots (building.png, menu.png, errors.png) are also copied there.
set -euo pipefail
builder=$(realpath "$1")

xvfb_tools="xdotool import compare cmake c++"

xvfb_screen=1600x1200x24
source "$(dirname "${BASH_SOURCE[0]}")/../support/private_x_server.sh"
launched=
stop_launched() {
    if [[ -n $launched ]]; then
        kill "$launched" 2>/dev/null || true
        launched=
    fi
}
trap 'stop_launched; cleanup' EXIT

fail() {
    echo "error: $*" >&2
    [[ -f $work/builder.log ]] && cat "$work/builder.log" >&2
    exit 1
}
shot() {
    import -window root "$work/$1.png"
    if [[ -n ${SMOKE_SHOT_DIR:-} ]]; then
        cp "$work/$1.png" "$SMOKE_SHOT_DIR/"
    fi
}
# Pixels that differ between two screenshots in the designer's picture (the window at 0,0, factor 1).
# Presses a key in the designer, given the focus first (without a window manager the pointer's window has it).
press() {
    xdotool mousemove --window "$window" 700 590 click 1 windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --window "$window" "$1"
}
differs() {
    local n
    n=$(compare -metric AE -extract "$3" "$work/$1.png" "$work/$2.png" null: 2>&1 || true)
    [[ $n =~ ^[0-9.e+]+$ && $n != 0 ]]
}

export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
mkdir "$work/game"
cp "$(dirname "${BASH_SOURCE[0]}")/../../examples/minimal.tvp" "$work/game/tiny.tvp"
name=$(head -n 1 "$work/game/tiny.tvp" | tr -d '\r')
start_in_window 15 "$work/builder.log" "Tavrin Controls Builder\$" "$builder" --scale 1 "$work/game/tiny.tvp"
[[ -n $window ]] || fail "the designer's window did not appear"
xdotool windowmove "$window" 0 0
sleep 1
title=$(xdotool getwindowname "$window")

press F9
sleep 2
[[ -f $work/game/tiny/CMakeLists.txt ]] || fail "F9 generated nothing into game/tiny"
shot building
# The designer answers while the build goes on: FILE opens and closes.
xdotool mousemove --window "$window" 12 10 click 1
for _ in $(seq 10); do # a loaded machine may take a while
    sleep 0.5
    shot menu
    differs building menu 120x100+0+20 && break
done
differs building menu 120x100+0+20 || fail "FILE did not open while building"
xdotool mousemove --window "$window" 12 10 click 1
[[ $(xdotool getwindowname "$window") == "$title" ]] || fail "the title changed while building"

found=
for _ in $(seq 240); do
    found=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -n 1) || true
    [[ -n $found ]] && break
    kill -0 "$program" 2>/dev/null || fail "the designer ended while building"
    sleep 0.5
done
[[ -n $found ]] || fail "the program's window \"$name\" did not appear (screenshots: building.png)"
launched=$(xdotool getwindowpid "$found")
stop_launched

# A user's error in the entry point is kept by the next generation and reported with its line.
entry=$(grep -l "TavMain\|WinMain" "$work/game/tiny/"*.cpp | head -n 1)
printf '\n#error broken on purpose\n' >>"$entry"
sleep 1
press F9
sleep 1
grep -q "broken on purpose" "$entry" || fail "the user's line in $entry was not kept"
for _ in $(seq 120); do
    [[ -z $(pgrep -P "$program" || true) ]] && break
    sleep 0.5
done
sleep 1
shot errors
differs building errors 550x116+210+482 || fail "no error list after a failed build"

# Closed while it builds, the designer stops the build and ends promptly.
press Escape
press F9
sleep 1
kill "$program"
for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the designer did not end while building"
wait "$program" 2>/dev/null || true
program=
echo "build and run smoke test passed"
