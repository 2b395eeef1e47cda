#!/usr/bin/env bash
# The whole desktop program (offscreen) on a hostile data folder:
#   run_environment_family.sh PROGRAM CASE
# Each case starts real processes with their own home, data, settings and runtime folders, and
# ends them as a desktop session would (SIGTERM). Exit status 77 says the case was skipped.
set -u
program=$1 case=$2
tmp=$(mktemp -d)
chmod 755 "$tmp"
trap 'kill -KILL $(jobs -p) 2>/dev/null; chmod -R u+rwx "$tmp"; rm -rf "$tmp"' EXIT
data=$tmp/data/quorvella
mkdir -p "$tmp/home" "$tmp/config" "$tmp/run1" "$tmp/run2" "$data"
chmod 700 "$tmp/run1" "$tmp/run2"
failures=0
fail() {
    echo "FAIL [$case]: $*" >&2
    failures=$((failures + 1))
}

# start NAME RUNTIME_FOLDER [runner...]: the program in the background; its pid in $NAME_pid,
# its standard error in $tmp/NAME.err.
start() {
    local name=$1 runtime=$2
    shift 2
    "$@" env HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" \
        XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen "$program" 2> "$tmp/$name.err" &
    printf -v "${name}_pid" '%s' $!
}

# wait_until SECONDS COMMAND...: true once the command succeeds.
wait_until() {
    local tenths=$(($1 * 10))
    shift
    until "$@"; do
        [ $((tenths -= 1)) -gt 0 ] || return 1
        sleep 0.1
    done
}

running() { kill -0 "$1" 2>/dev/null; }
ended() { ! running "$1"; }
has_socket() { find "$1" -maxdepth 1 -type s -name 'quorvella-*' | grep -q .; }
says() { grep -qF "$2" "$tmp/$1.err"; }
err() { cat "$tmp/$1.err"; }
# up NAME: the program has made its store's log in the data folder.
up() { wait_until 15 test -e "$data/objectstore.sqlite-wal" || fail "$1 did not come up: $(err "$1")"; }

# finish NAME: a close request from outside; the program must end at once, with status 0.
finish() {
    local pid=${1}_pid
    kill -TERM "${!pid}" 2>/dev/null
    wait_until 10 ended "${!pid}" || { fail "$1 did not end on SIGTERM" && kill -KILL "${!pid}"; }
    wait "${!pid}" || fail "$1 ended with status $?: $(err "$1")"
}

# The data folder's files: mode, size, change time and checksum, a line each.
state() { (cd "$data" && find . -printf '%m %s %C@ %p\n' | sort); }

# refused RUNTIME_FOLDER [runner...]: once the first program's start-up writes are done, a
# second start finds the folder taken, cannot raise the first, says so on standard error and
# waits in its message box; nothing in the folder changes, and the first runs on.
refused() {
    sleep 1
    local before
    before=$(state)
    start second "$@"
    wait_until 15 says second "Quorvella already runs on the data folder $data" ||
        fail "second did not say the folder is taken: $(err second)"
    finish second
    [ "$(state)" = "$before" ] || fail "second changed the data folder"
    running "$first_pid" || fail "the first program ended"
}

# Only as the runner of start: it takes the place of the background shell, so the pid that
# start keeps is the program's.
as_nobody() {
    [ "$(id -u)" -eq 0 ] && exec setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
    exec "$@"
}

case $case in
lock_runtime_folders)
    # Two shells with different runtime folders: the second cannot reach the first's socket,
    # but the folder's lock turns it away. A third in the first's shell raises the first.
    start first "$tmp/run1"
    wait_until 15 has_socket "$tmp/run1" || fail "first did not come up: $(err first)"
    refused "$tmp/run2"
    start third "$tmp/run1"
    wait_until 10 ended "$third_pid" || fail "the third start did not end after raising the first"
    wait "$third_pid" || fail "the third start ended with status $?"
    [ -s "$tmp/third.err" ] && fail "the third start said: $(err third)"
    finish first
    [ -e "$data/quorvella.lock" ] && fail "the lock file stayed after the exit"
    ;;
lock_unwritable_runtime)
    # No socket can be made at all: both programs run as the user nobody under root, or as
    # the user with a runtime folder of mode 0500.
    if [ "$(id -u)" -eq 0 ]; then
        # The user nobody must reach the program from outside the build tree.
        cp "$program" "$(dirname "$program")/quorvella-window" "$tmp/"
        program=$tmp/quorvella
        chown -R 65534:65534 "$tmp/run1" "$tmp/data" "$tmp/home" "$tmp/config"
    fi
    chmod 0500 "$tmp/run1"
    start first "$tmp/run1" as_nobody
    up first
    refused "$tmp/run1" as_nobody
    [ -n "$(ls -A "$tmp/run1")" ] && fail "a socket was made in the unwritable runtime folder"
    finish first
    ;;
lock_stranger_socket)
    # Another user's socket under the program's name is never spoken to or removed.
    [ "$(id -u)" -eq 0 ] || { echo "skipped: making another user's socket needs root"; exit 77; }
    command -v python3 > /dev/null || { echo "skipped: python3 makes the socket"; exit 77; }
    socket=$tmp/run1/quorvella-0-$(python3 -c 'import sys
h = 14695981039346656037  # 64-bit FNV-1a of the data folder path
for b in sys.argv[1].encode(): h = (h ^ b) * 1099511628211 % 2**64
print("%016x" % h)' "$data")
    python3 -c 'import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$socket"
    chown 65534:65534 "$socket"
    start first "$tmp/run1"
    up first
    refused "$tmp/run1"
    [ "$(stat -c %u "$socket")" = 65534 ] || fail "the stranger's socket was replaced"
    finish first
    ;;
store_link)
    # A store on a drive that is not mounted: the start says so, waits in its message box
    # until the session ends it, and the link stays as it was. Pipes as the store's log are
    # the store file's tests.
    ln -s "$tmp/unmounted/objectstore.sqlite" "$data/objectstore.sqlite"
    start first "$tmp/run1"
    wait_until 15 says first "open: a symbolic link to a missing file" ||
        fail "the start did not name the link: $(err first)"
    sleep 0.5
    running "$first_pid" || fail "the start ended before its message was read"
    finish first
    [ "$(readlink "$data/objectstore.sqlite")" = "$tmp/unmounted/objectstore.sqlite" ] ||
        fail "the link was changed"
    [ -e "$tmp/unmounted" ] && fail "something was made through the link"
    ;;
*)
    echo "no such case: $case" >&2
    exit 2
    ;;
esac
exit $((failures > 0))
