#!/usr/bin/env bash
# The timer runs on through a crash: the real program (offscreen) starts it from its window's
# menu, is killed with SIGKILL, and a new start shows the same timer from the same start.
#   run_timer_kill.sh PROGRAM SEED_DEVICE
set -u
program=$1 seed=$2
tmp=$(mktemp -d)
trap 'kill -KILL $(jobs -p) 2>/dev/null; rm -rf "$tmp"' EXIT
data=$tmp/data/quorvella
mkdir -p "$tmp/home" "$tmp/run" "$data" && chmod 700 "$tmp/run"
fail() { echo "FAIL: $*" >&2; exit 1; }
printf 'project "Alpha" 2005-10-01\n' > "$tmp/seed"
"$seed" "$data" "$tmp/seed" || fail "seed"

# start NAME ITEM: the program in the background choosing ITEM of its window's menu.
start() {
    env HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/home" \
        XDG_RUNTIME_DIR="$tmp/run" QT_QPA_PLATFORM=offscreen QUORVELLA_TEST_WINDOW_ITEM="$2" \
        "$program" 2> "$tmp/$1.err" &
    pid=$!
    for _ in $(seq 150); do
        grep -q "window title:" "$tmp/$1.err" && return
        sleep 0.1
    done
    fail "$1 did not show its title: $(cat "$tmp/$1.err")"
}

start first "Start timer"
grep -q "window title: Quorvella - Alpha 0:00" "$tmp/first.err" || fail "$(cat "$tmp/first.err")"
started=$(grep '^start ' "$data/timer") || fail "no timer file"
sleep 1.2  # a new start now would be a second later
kill -KILL "$pid" && wait "$pid" 2> /dev/null

start second ""
grep -q "window title: Quorvella - Alpha 0:0" "$tmp/second.err" || fail "$(cat "$tmp/second.err")"
[ "$(grep '^start ' "$data/timer")" = "$started" ] || fail "the start changed: $(cat "$data/timer")"
ls "$data" | grep -q damaged && fail "the timer was moved aside"
kill -TERM "$pid" && wait "$pid" || fail "the second program ended with $?"
exit 0
