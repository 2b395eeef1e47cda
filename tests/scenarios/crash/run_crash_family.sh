#!/usr/bin/env bash
# Crashes the program at every store read, write and sync of one operation in turn and checks
# what the next start finds.
#
#   run_crash_family.sh REPLAY SEED_DEVICE SEEDFILE SCRIPT
#
# SEEDFILE seeds the device; SCRIPT starts the program, carries out the operation and closes it.
# A run without a crash gives the store after the operation; the seeded device gives the store
# before it. Then for each kind (read, write, sync) and N = 1, 2, ... SCRIPT runs again on a
# fresh copy of the seeded device with QUORVELLA_REPLAY_CRASH_AT=KIND:N, until a run of that
# kind ends without reaching its Nth call. After every crash the store file (with its log) must
# pass SQLite's integrity check, and a new start must show exactly the store before or the
# store after the operation.
set -u
replay=$1 seed=$2 seedfile=$3 script=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
looks="$work/looks.replay"
printf 'start\nshow store\nclose\n' > "$looks"

fail() { echo "$(basename "$script"): $*" >&2; exit 1; }

# What a start shows of the store on DEVICE.
store_seen() { "$replay" --root "$1" "$looks" 2>>"$work/stderr"; }

"$seed" "$work/seeded" "$seedfile" || fail "the device cannot be seeded"
cp -a "$work/seeded" "$work/before"
before=$(store_seen "$work/before") || fail "the seeded store does not start"
cp -a "$work/seeded" "$work/after"
"$replay" --root "$work/after" "$script" > "$work/transcript" 2>>"$work/stderr" ||
    fail "the operation does not run without a crash: $(tail -n 3 "$work/transcript")"
after=$(store_seen "$work/after") || fail "the store after the operation does not start"
[ "$before" != "$after" ] || fail "the operation changes nothing in the store"

crashes=0
for kind in read write sync; do
    n=1
    while :; do
        device="$work/device" && rm -rf "$device" && cp -a "$work/seeded" "$device"
        QUORVELLA_REPLAY_CRASH_AT=$kind:$n "$replay" --root "$device" "$script" \
            > "$work/transcript" 2>>"$work/stderr"
        status=$?
        [ "$status" -eq 0 ] && break
        [ "$status" -eq 3 ] || fail "$kind $n: exit status $status, not a crash"
        crashes=$((crashes + 1))
        store="$device/objectstore.sqlite"
        # The integrity check works on a copy: opening the file itself would fold its log in
        # before the program's own start sees it.
        mkdir -p "$work/copy" && rm -f "$work/copy"/*
        cp "$store" "$work/copy/store" || fail "$kind $n: no store file after the crash"
        [ -f "$store-wal" ] && cp "$store-wal" "$work/copy/store-wal"
        verdict=$(python3 -c 'import sqlite3, sys
print(sqlite3.connect(sys.argv[1]).execute("PRAGMA integrity_check").fetchall())' \
            "$work/copy/store" 2>&1)
        [ "$verdict" = "[('ok',)]" ] || fail "$kind $n: integrity check: $verdict"
        seen=$(store_seen "$device") || fail "$kind $n: the store does not start after the crash"
        if [ "$seen" != "$before" ] && [ "$seen" != "$after" ]; then
            echo "crashed at $kind $n; the start after it shows:" >&2
            diff <(printf '%s\n' "$before") <(printf '%s\n' "$seen") >&2
            fail "$kind $n: the store is neither the one before the operation nor the one after it"
        fi
        n=$((n + 1))
    done
done
echo "$(basename "$script"): $crashes crashes, each followed by a sound store"
