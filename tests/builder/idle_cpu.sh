#!/usr/bin/env bash
# Idle programs take no CPU: the designer showing a project and the hello example, each in a real window
# on a private X server, given the focus and left alone. After a second to settle, each one's CPU time
# (user + system, from /proc) over five seconds must stay within IDLE_CPU_BOUND percent of a core (10 by
# default); a program that draws every frame takes several times that. The X server's CPU over the same
# seconds is printed as well.
# Usage: idle_cpu.sh TAVBUILDER PROJECT.tvp HELLO
set -euo pipefail
builder=$(realpath "$1")
project=$(realpath "$2")
hello=$(realpath "$3")
bound=${IDLE_CPU_BOUND:-10}
settle=1 seconds=5

xvfb_tools="xdotool getconf"
source "$(dirname "${BASH_SOURCE[0]}")/../support/private_x_server.sh"
# Settings and state go to the test's folder, never into the real home.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
ticks_per_second=$(getconf CLK_TCK)

# User and system time of a running process in clock ticks; fails for one that ended (a zombie too). The
# name in parentheses may hold spaces, so the fields are counted after it: the state is the 3rd field of
# the whole line, utime and stime the 14th and 15th.
cpu_ticks() {
    local stat
    stat=$(<"/proc/$1/stat") || return 1
    stat=${stat##*) }
    awk '$1 != "Z" && $1 != "X" { print $12 + $13; ok = 1 } END { exit !ok }' <<<"$stat"
}
now_ns() { date +%s%N; }
# Percent of a core from ticks used over nanoseconds of wall time, to one decimal.
percent() {
    awk -v used="$1" -v ns="$2" -v hz="$ticks_per_second" 'BEGIN { printf "%.1f", 100 * used / hz / (ns / 1e9) }'
}

failures=0
# Starts a program, waits for its window titled TITLE (an extended regular expression), focuses it and
# measures. Usage: measure NAME TITLE COMMAND...
measure() {
    local name=$1 title=$2 window
    shift 2
    start_in_window 15 "$work/$name.log" "$title" "$@"
    if [[ -z $window ]]; then
        echo "error: the window of $name did not appear" >&2
        cat "$work/$name.log" >&2
        exit 1
    fi
    # Without a window manager nothing gives the focus: an unfocused program may rightly sleep.
    xdotool windowfocus "$window" 2>/dev/null || true
    sleep "$settle"
    local start_ns start_ticks start_x end_ns end_ticks end_x
    ended() {
        echo "error: $name ended while it was measured" >&2
        cat "$work/$name.log" >&2
        exit 1
    }
    start_ticks=$(cpu_ticks "$program") || ended
    start_x=$(cpu_ticks "$xvfb") start_ns=$(now_ns)
    sleep "$seconds"
    end_ticks=$(cpu_ticks "$program") || ended
    end_x=$(cpu_ticks "$xvfb") end_ns=$(now_ns)
    local used shown_x
    used=$(percent $((end_ticks - start_ticks)) $((end_ns - start_ns)))
    shown_x=$(percent $((end_x - start_x)) $((end_ns - start_ns)))
    echo "idle CPU: $name $used % of a core"
    echo "idle CPU: Xvfb (showing $name) $shown_x % of a core"
    if awk -v used="$used" -v bound="$bound" 'BEGIN { exit !(used > bound) }'; then
        echo "error: $name used $used % of a core while idle (at most $bound %)" >&2
        failures=$((failures + 1))
    fi
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=
}

# The title names the project: it was opened.
measure designer "^$(basename "$project" .tvp) - Tavrin Controls Builder\$" "$builder" --window "$project"
measure hello "^Hello\$" "$hello"
((failures == 0)) || exit 1
echo "idle CPU test passed"
