#!/usr/bin/env bash
# The whole desktop program on a virtual X server with a window manager, driven by real X input:
#   run_x_family.sh PROGRAM CASE
# Each case is a function case_NAME below (CMake finds them: a new case is one line here).
# Exit status 77 says the case was skipped: a tool it needs is missing.
set -u
program=$1 case=$2
for tool in Xvfb openbox xdotool xprop xwininfo; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
tmp=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/config" "$tmp/data" "$tmp/bin" "$tmp/run"
chmod 700 "$tmp/run"
failures=0
fail() {
    echo "FAIL [$case]: $*" >&2
    failures=$((failures + 1))
}
wait_until() {  # wait_until SECONDS COMMAND...: true once the command succeeds
    local tenths=$(($1 * 10))
    shift
    until "$@"; do
        [ $((tenths -= 1)) -gt 0 ] || return 1
        sleep 0.1
    done
}

# The server on a free display, and openbox on it.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5> "$tmp/display" 2> /dev/null &
wait_until 10 test -s "$tmp/display" || { fail "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$tmp/display")
openbox --sm-disable > /dev/null 2>&1 &
wait_until 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    { fail "openbox did not start"; exit 1; }

# The help viewer the program starts stands in a file.
printf '#!/bin/sh\necho "$@" >> "%s/help"\n' "$tmp" > "$tmp/bin/xdg-open"
chmod +x "$tmp/bin/xdg-open"

# start NAME [options...]: the program in the background on its own data folder; its pid in
# $NAME_pid.
start() {
    local name=$1
    shift
    env PATH="$tmp/bin:$PATH" HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" \
        XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/run" QT_QPA_PLATFORM=xcb \
        "$program" "$@" 2> "$tmp/$name.err" &
    printf -v "${name}_pid" '%s' $!
}
# window: the program's top window once mapped, in $win.
window() {
    win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvella$' | head -n1)
    [ -n "$win" ] || { fail "no window ($(jobs -r | wc -l) jobs run): $(cat "$tmp"/*.err)"; exit 1; }
    sleep 0.5  # the first screen settles
}
least() { xprop -id "$win" WM_NORMAL_HINTS | grep -q "minimum size: $1 by $2"; }
size_is() { xdotool getwindowgeometry "$win" | grep -q "Geometry: $1x$2"; }
viewable() { xwininfo -id "$win" | grep -q 'Map State: IsViewable'; }
iconic() { xprop -id "$win" WM_STATE | grep -q 'window state: Iconic'; }
press() { xdotool windowactivate --sync "$win" key --clearmodifiers "$@"; }
helped() { test -s "$tmp/help"; }

# The window is never smaller than the screen at its zoom; Ctrl+R turns both.
case_least_size() {
    start first --zoom 2
    window
    wait_until 5 least 480 640 || fail "least size: $(xprop -id "$win" WM_NORMAL_HINTS)"
    press ctrl+r
    wait_until 5 size_is 640 480 || fail "Ctrl+R: $(xdotool getwindowgeometry "$win")"
    wait_until 5 least 640 480 || fail "turned: $(xprop -id "$win" WM_NORMAL_HINTS)"
}
# A second start brings back the minimised window and ends.
case_raise_minimised() {
    start first --zoom 1
    window
    xdotool windowminimize "$win"
    wait_until 5 iconic || fail "the window did not minimise"
    start second --zoom 1
    wait_until 10 sh -c "! kill -0 $second_pid 2> /dev/null" || fail "the second start ran on"
    wait_until 5 viewable || fail "the window stayed minimised"
}
# F1 opens the help viewer.
case_help_key() {
    start first --zoom 1
    window
    press F1
    wait_until 5 helped || fail "F1 did not open the help"
}

declare -F "case_$case" > /dev/null || { echo "no such case: $case" >&2; exit 2; }
"case_$case"
[ -n "${first_pid:-}" ] && kill -TERM "$first_pid" 2> /dev/null
wait_until 10 sh -c "! kill -0 ${first_pid:-0} 2> /dev/null" || fail "the program did not end"
exit $((failures > 0))
