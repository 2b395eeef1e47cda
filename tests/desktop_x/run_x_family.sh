#!/usr/bin/env bash
# The whole desktop program on a virtual X server with a window manager, driven by real X input:
#   run_x_family.sh PROGRAM CASE
# Each case is a function case_NAME below (CMake finds them: a new case is one line here). A
# case stops at its first failure. Exit status 77 says it was skipped: a tool is missing.
set -u
program=$1 case=$2
for tool in Xvfb openbox xdotool xprop xwininfo xwd; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
tmp=$(mktemp -d)
trap 'kill $(jobs -p) 2> /dev/null; wait; rm -rf "$tmp"' EXIT
mkdir -m 700 "$tmp/run" "$tmp/bin"
fail() { echo "FAIL [$case]: $*" >&2; exit 1; }
wait_until() {  # wait_until SECONDS COMMAND...: true once the command succeeds
    local tenths=$(($1 * 10))
    shift
    until "$@"; do
        [ $((tenths -= 1)) -gt 0 ] || return 1
        sleep 0.1
    done
}

# The server on a free display, openbox on it, and a help viewer that writes down its page.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5> "$tmp/display" 2> /dev/null &
wait_until 30 test -s "$tmp/display" || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$tmp/display")
openbox --sm-disable > /dev/null 2>&1 &
wait_until 30 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "openbox did not start"
printf '#!/bin/sh\necho "$@" >> %s/help\n' "$tmp" > "$tmp/bin/xdg-open"
chmod +x "$tmp/bin/xdg-open"

# start [options...]: the program on its own data folder, in the background; its pid in $pid.
start() {
    env PATH="$tmp/bin:$PATH" HOME="$tmp" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp" \
        XDG_RUNTIME_DIR="$tmp/run" QT_QPA_PLATFORM=xcb "$program" "$@" 2>> "$tmp/err" &
    pid=$!
}
# window: the program's window once mapped, in $win.
window() {
    win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvella$' | head -n1)
    [ -n "$win" ] || fail "no window: $(cat "$tmp/err")"
    sleep 0.5  # the first screen settles
}
least() { xprop -id "$win" WM_NORMAL_HINTS | grep -q "minimum size: $1 by $2"; }
size_is() { xdotool getwindowgeometry "$win" | grep -q "Geometry: $1x$2"; }
map_state() { xwininfo -id "$win" | grep -q "Map State: $1"; }
press() { xdotool windowactivate --sync "$win" key --clearmodifiers "$@"; }
# The window's picture: shot FILE keeps it; looks FILE is true while the window looks so.
shot() { xwd -silent -id "$win" > "$1"; }
looks() { xwd -silent -id "$win" | cmp -s - "$1"; }
ended() { ! kill -0 "$pid" 2> /dev/null; }

# The window is never smaller than the screen at its zoom; Ctrl+R turns both.
case_least_size() {
    start --zoom 2 && window
    wait_until 5 least 480 640 || fail "least size: $(xprop -id "$win" WM_NORMAL_HINTS)"
    press ctrl+r
    wait_until 5 size_is 640 480 || fail "Ctrl+R: $(xdotool getwindowgeometry "$win")"
    wait_until 5 least 640 480 || fail "turned: $(xprop -id "$win" WM_NORMAL_HINTS)"
}
# A second start brings back the minimised window and ends.
case_raise_minimised() {
    start --zoom 1 && window
    xdotool windowminimize "$win"
    wait_until 5 map_state IsUnMapped || fail "the window did not minimise"
    start --zoom 1
    wait_until 10 sh -c "! kill -0 $pid 2> /dev/null" || fail "the second start ran on"
    wait_until 5 map_state IsViewable || fail "the window stayed minimised"
}
# F1 opens the help viewer.
case_help_key() {
    start --zoom 1 && window && press F1
    wait_until 5 test -s "$tmp/help" || fail "F1 did not open the help"
}

# While a dialog is open, a booking from the command line is refused and reading commands
# answer; once it is left, the booking is made.
case_command_line_under_dialog() {
    printf 'project "Alpha" 2005-10-01\ncategory "Travel"\n' > "$tmp/seed"
    "$(dirname "$program")/tests/scenarios/seed_device" "$tmp/data/quorvella" "$tmp/seed" ||
        fail "the seed"
    q() { env HOME="$tmp" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp" \
        XDG_RUNTIME_DIR="$tmp/run" "$program" "$@" 2>&1; }
    local book=(add --time 1:00 --project Alpha --category Travel)
    start --zoom 1 && window && press ctrl+k && sleep 1
    out=$(q "${book[@]}") && fail "booked under Edit Categories"
    [[ $out == *"dialog is open"* ]] || fail "refused: $out"
    [ "$(q categories)" = Travel ] || fail "reading under a dialog: $(q categories)"
    press Escape && sleep 1
    out=$(q "${book[@]}") || fail "not booked after the dialog: $out"
    [[ $(q list) == *Travel* ]] || fail "not listed: $(q list)"
}

# The keyboard alone, on an empty book. Ctrl+N and Ctrl+K open their dialogs and Escape leaves
# each with the window as it was; the keys of the commands an empty book greys (Undo
# Deleting, Time Report, Export) change nothing; F10, Right and
# Enter open the Time menu and Escape twice leaves menu and bar; Ctrl+Q ends the program.
case_keyboard() {
    start --zoom 1 && window && shot "$tmp/main"
    for key in ctrl+n ctrl+k; do
        press "$key"
        wait_until 5 eval '! looks "$tmp/main"' || fail "$key showed nothing"
        press Escape
        wait_until 5 looks "$tmp/main" || fail "Escape did not leave the dialog of $key"
    done
    press ctrl+z ctrl+t ctrl+e
    sleep 0.5
    looks "$tmp/main" || fail "a grey command's key changed the screen"
    press F10 Right Return
    wait_until 5 eval '! looks "$tmp/main"' || fail "F10, Right, Enter opened no menu"
    press Escape Escape
    wait_until 5 looks "$tmp/main" || fail "Escape did not close the menu and leave the bar"
    press ctrl+q
    wait_until 10 ended || fail "Ctrl+Q did not end the program"
}

# Every dialog by the keyboard alone, on a book of one record made by the keyboard: a project
# (Ctrl+N on an empty book asks for one), a category (Ctrl+K, Tab to New, Enter) and ten minutes
# of it. Each menu item, menu-bar button and Ctrl key opens its dialog, the same one whichever way
# it is reached, and Escape leaves each with the window as it was.
case_every_dialog() {
    start --zoom 1 && window && shot "$tmp/empty"
    press ctrl+n && sleep 0.5 && xdotool type --delay 30 Alpha && press Return && sleep 0.5
    press ctrl+k && sleep 0.5 && press Tab Return && sleep 0.5
    xdotool type --delay 30 Work && press Return && sleep 0.5 && press Escape && sleep 0.5
    press ctrl+n && sleep 0.5 && press Down Tab Down Return && sleep 0.5 && shot "$tmp/main"
    cmp -s "$tmp/main" "$tmp/empty" && fail "the keyboard booked nothing"
    # PICTURE|KEYS...: the keys open a dialog; a second way to it must show the same picture.
    local ways=(
        new-record"|ctrl+n" new-record"|F10 Return" new-record"|F10 Right Return Return"
        new-project"|F10 Right Return Down Return" projects"|F10 Right Return Down Down Return"
        balance"|F10 Right Return Down Down Down Return"
        report"|ctrl+t" report"|F10 Right Return Down Down Down Down Return"
        report"|F10 Right Right Right Right Return"
        categories"|ctrl+k" categories"|F10 Right Right Return Return"
        categories"|F10 Right Right Right Return"
        range"|F10 Right Right Return Down Return"
        export"|ctrl+e" export"|F10 Right Right Return Down Down Return"
        options"|F10 Right Right Return Down Down Down Return"
        about"|F10 Right Right Return Down Down Down Down Return"
    )
    local way name keys
    for way in "${ways[@]}"; do
        name=${way%%|*} keys=${way#*|}
        # shellcheck disable=SC2086  # the keys are words
        press $keys
        if [ -f "$tmp/$name" ]; then
            wait_until 5 looks "$tmp/$name" || fail "$keys did not open what another way did ($name)"
        else
            wait_until 5 eval '! looks "$tmp/main"' || fail "$keys showed nothing"
            sleep 0.3 && shot "$tmp/$name"
        fi
        press Escape
        wait_until 5 looks "$tmp/main" || fail "Escape did not leave $name (opened by $keys)"
    done
}

# A window left alone does no work: under a tenth of a core over two seconds, with the main
# window up and with a dialog over it.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
idle() {
    local before
    before=$(cpu_ticks) && sleep 2
    [ $(($(cpu_ticks) - before)) -lt 20 ]
}
case_idle() {
    start --zoom 1 && window
    idle || fail "the main window kept working while left alone"
    press ctrl+n && sleep 0.5
    idle || fail "the window kept working under a dialog"
}

declare -F "case_$case" > /dev/null || { echo "no such case: $case" >&2; exit 2; }
"case_$case"
