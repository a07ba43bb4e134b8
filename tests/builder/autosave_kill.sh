#!/usr/bin/env bash
# The designer killed with SIGKILL at random moments while it is being edited. Each round opens a copy of
# the hello example (named on the command line; an input script selects its first object and nudges it
# once), waits for the first recovery file, nudges the object right and down with the arrow keys at
# random intervals and kills the designer at a random moment. The recovery file must then be a readable
# project holding every nudge sent more than two seconds before the kill and none that was never sent;
# the project's own file must be unchanged. Every tenth round starts the designer again, answers Yes to
# its offer (the last round too), and checks that it holds the same project and that Ctrl+S saves it in place.
# Usage: autosave_kill.sh TAVBUILDER TAVGEN EXAMPLES_DIR [ROUNDS]   ($TAV_KILL_ROUNDS overrides ROUNDS; 50)
set -euo pipefail
builder=$(realpath "$1")
tavgen=$(realpath "$2")
examples=$(realpath "$3")
rounds=${TAV_KILL_ROUNDS:-${4:-50}}

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb=
program=
stop() { # stops and reaps the pid in $1
    if [[ -n $1 ]]; then
        kill -9 "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}
cleanup() {
    stop "$program"
    if [[ -n $xvfb ]]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "error (round $round): $*" >&2
    [[ -f $work/builder.log ]] && cat "$work/builder.log" >&2
    exit 1
}

# A display number of its own: the first free one from 81 (tests run in parallel).
for number in $(seq 81 120); do
    [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 50); do
        [[ -e /tmp/.X11-unix/X$number ]] && break
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$xvfb" 2>/dev/null && [[ -e /tmp/.X11-unix/X$number ]]; then
        export DISPLAY=:$number
        break
    fi
    wait "$xvfb" 2>/dev/null || true # taken meanwhile: the next one
    xvfb=
done
[[ -n $xvfb ]] || { echo "error: no free display for Xvfb" >&2; exit 1; }

export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config
mkdir -p "$work/run/save"
project=$work/run/save/kill.tvp
cp "$examples/hello.tvp" "$project"
original=$(cksum <"$project")
recovery=$XDG_STATE_HOME/tavbuilder
# The screen Welcome in the tree; its first object, the title; one nudge.
cat >"$work/open.txt" <<'EOF'
wait 3
click 70 51
wait 2
click 490 101
wait 2
key RIGHT
EOF

now() { echo "${EPOCHREALTIME/./}"; } # microseconds
# The x and y of the first object of a project's text (the 13th and 14th line after its frames).
position() {
    tr -d '\r' | awk '/^ENDFRAMES$/ && !n { n = NR } n && NR == n + 13 { x = $0 } n && NR == n + 14 { print x, $0; exit }'
}
read -r x0 y0 < <(position <"$project")
start() { # starts the designer in a window, in the run folder; sets program and window
    local attempt
    for attempt in 1 2 3; do
        (cd "$work/run" && SDL_VIDEODRIVER=x11 exec "$builder" "$@") >"$work/builder.log" 2>&1 &
        program=$!
        sleep 0.5
        # The X server sometimes refuses a connection just after a killed client's: asked again.
        grep -q "cannot open the window" "$work/builder.log" || break
        echo "note: the X server refused the designer (attempt $attempt)" >&2
        wait "$program" 2>/dev/null || true
    done
    # Searched again when a search meets a window being destroyed (SDL makes and drops one at start).
    window=
    for _ in $(seq 80); do
        window=$(xdotool search --onlyvisible --pid "$program" 2>/dev/null | head -n 1) || true
        [[ -n $window ]] && break
        sleep 0.25
    done
    [[ -n $window ]] || fail "the designer's window did not appear"
}
wait_for() { # waits up to $2 seconds for a file matching $1; prints its name
    local _
    for _ in $(seq $(($2 * 20))); do
        for file in $1; do
            [[ -f $file ]] && { echo "$file"; return 0; }
        done
        sleep 0.05
    done
    return 1
}

for round in $(seq "$rounds"); do
    rm -rf "$recovery"
    TAV_INPUT=$work/open.txt start --window "$project"
    own=$(wait_for "$recovery/$program.recovery" 30) || fail "no recovery file after the first nudge"
    # Nudges until a random moment 0.5 to 4 seconds on.
    kill_at=$(($(now) + 500000 + RANDOM * 107))
    sent=() keys=()
    while (($(now) < kill_at)); do
        key=$([[ $((RANDOM % 2)) == 0 ]] && echo Right || echo Down)
        xdotool key --window "$window" "$key"
        sent+=("$(now)") keys+=("$key")
        sleep "0.0$((RANDOM % 10))"
    done
    kill -9 "$program"
    killed=$(now)
    wait "$program" 2>/dev/null || true
    program=
    # Bounds: every nudge sent, and those sent more than two seconds before the kill (the first one
    # was the input script's, already in the first recovery file).
    low_x=1 low_y=0 high_x=1 high_y=0
    for i in "${!sent[@]}"; do
        [[ ${keys[$i]} == Right ]] && high_x=$((high_x + 1)) || high_y=$((high_y + 1))
        if ((killed - sent[i] > 2000000)); then
            [[ ${keys[$i]} == Right ]] && low_x=$((low_x + 1)) || low_y=$((low_y + 1))
        fi
    done
    [[ $(cksum <"$project") == "$original" ]] || fail "the project file changed"
    [[ $(head -n 1 "$own") == "Tavrin Controls Builder recovery 1" ]] || fail "not a recovery file: $own"
    tail -n +6 "$own" >"$work/recovered.tvp"
    "$tavgen" resave "$work/recovered.tvp" "$work/resaved.tvp" || fail "the recovered project is unreadable"
    read -r x y < <(position <"$work/recovered.tvp")
    dx=$((x - x0)) dy=$((y - y0))
    ((dx >= low_x && dx <= high_x && dy >= low_y && dy <= high_y)) ||
        fail "moved by $dx,$dy: expected $low_x..$high_x, $low_y..$high_y (${#sent[@]} nudges)"

    ((round % 10 == 0 || round == rounds)) || continue
    # Started again, the designer offers the copy (Return answers Yes) and makes it its own.
    start --window
    sleep 1
    xdotool key --window "$window" Return
    adopted=$(wait_for "$recovery/$program.recovery" 20) || fail "Yes did not restore the recovery file"
    for _ in $(seq 40); do
        [[ -e $own ]] || break
        sleep 0.05
    done
    [[ ! -e $own ]] || fail "the restored leftover is still there"
    cmp -s <(tail -n +6 "$adopted") "$work/recovered.tvp" || fail "the restored project differs"
    xdotool key --window "$window" ctrl+s
    for _ in $(seq 40); do
        cmp -s "$project" "$work/recovered.tvp" && break
        sleep 0.05
    done
    cmp -s "$project" "$work/recovered.tvp" || fail "Ctrl+S did not save the restored project in place"
    [[ ! -e $adopted ]] || fail "the save left the recovery file behind"
    cp "$examples/hello.tvp" "$project"
    stop "$program"
    program=
done
echo "autosave kill test passed: $rounds rounds"
