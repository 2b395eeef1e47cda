#!/usr/bin/env bash
# The whole program started by an ordinary user on a device it may not (fully) write:
#   run_readonly.sh REPLAY SEED_DEVICE HOST
# Three devices seeded from store.seed:
#   - the store file read-only: start-up says it cannot build the databases and ends;
#   - the device folder read-only: the same;
#   - the settings hive read-only: the program runs as usual, and its exit cannot save the
#     settings, which it says on standard error.
# In each, no crash, every seeded file byte for byte and mode for mode as it was, and no log,
# index or journal beside the store. Then the user may write again, and a start shows the
# records. As root the program runs as the user nobody (a 0444 file is no obstacle to root);
# as anyone else the file modes alone do it.
set -u
replay=$1 seed=$2 host=$3
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
# The user nobody must reach the program and the device from outside the build tree.
chmod 755 "$tmp"
cp "$replay" "$tmp/quorvella-replay"
failures=0
fail() { echo "FAIL [$case]: $*" >&2; failures=$((failures + 1)); }
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)

# State of the device: each file's mode, checksum and name, a line each.
state() { (cd "$1" && find . -type f -printf '%m ' -exec md5sum {} \; | sort -k3); }

# run DEVICE SCRIPT EXPECTED_TRANSCRIPT: the run's own transcript and exit status must be
# what is expected; standard error is left in $tmp/stderr.
run() {
    local out status
    out=$("${as_user[@]}" "$tmp/quorvella-replay" --host "$host" --root "$1" - < "$here/$2" \
              2> "$tmp/stderr")
    status=$?
    [ "$status" -eq 0 ] || fail "exit status $status: $(cat "$tmp/stderr")"
    diff -u "$here/$3" <(printf '%s\n' "$out") >&2 || fail "transcript differs from $3"
}

no_beside() {
    local f
    # The qt host ends the program's process at once after its exit steps, as a power cut
    # would, so a store it opened keeps its log; only a store never opened can be checked.
    [ "$host" = qt ] && [ "${2:-}" = opened ] && return 0
    for f in "$1"/objectstore.sqlite-{wal,shm,journal}; do
        [ -e "$f" ] && fail "$f left beside the store"
    done
    return 0
}

# seed NAME: a fresh device owned by the user the program runs as.
seed() {
    local device=$tmp/$1
    "$seed" "$device" "$here/store.seed" >/dev/null || exit 1
    [ "$(id -u)" -eq 0 ] && chown -R 65534:65534 "$device"
    echo "$device"
}

for case in store-file store-folder; do
    device=$(seed "$case")
    expect="cannot open store $device/objectstore.sqlite: open: the folder cannot be written"
    [ "$case" = store-folder ] && chmod 0555 "$device"
    [ "$case" = store-file ] && chmod 0444 "$device/objectstore.sqlite" &&
        expect="cannot open store $device/objectstore.sqlite: open: Permission denied"
    before=$(state "$device")
    listing=$(ls -A "$device")
    run "$device" refused.replay refused.transcript
    grep -qF "quorvella: $expect" "$tmp/stderr" ||
        fail "standard error does not say '$expect': $(cat "$tmp/stderr")"
    [ "$(state "$device")" = "$before" ] || fail "the device changed"
    [ "$(ls -A "$device")" = "$listing" ] || fail "files were made: $(ls -A "$device")"
    no_beside "$device"
    chmod 0755 "$device"
    chmod 0600 "$device/objectstore.sqlite"
    run "$device" normal.replay normal.transcript
    no_beside "$device" opened
done

case=hive
device=$(seed "$case")
chmod 0444 "$device/registry.hive"
hive=$(state "$device" | grep ' ./registry.hive$')
[ -n "$hive" ] || fail "the seed left no registry.hive"
run "$device" normal.replay normal.transcript
expect="quorvella: cannot save settings to $device/registry.hive: Permission denied"
grep -qxF "$expect" "$tmp/stderr" || fail "standard error does not say '$expect': $(cat "$tmp/stderr")"
[ "$(state "$device" | grep ' ./registry.hive$')" = "$hive" ] || fail "the hive changed"
[ "$(ls -A "$device" | grep -c '^registry.hive')" -eq 1 ] || fail "files beside the hive: $(ls -A "$device")"
no_beside "$device" opened

exit $((failures > 0))
