#!/usr/bin/env bash
# The whole program on a nearly full disk:
#   run_full_disk.sh REPLAY SEED_DEVICE HOST
# The device lies on a small tmpfs of the test's own, so the test needs root; without it, or
# when the mount is refused, it says it is skipped and why (status 77).
#   - With 200 KB free the program starts, a hundred bookings in a row all succeed, and it
#     closes with its settings saved.
#   - With 100 KB free, bookings then go on until the disk is full: the failure is said, the program goes on and
#     closes as usual.
#   - Once space is freed, a new start shows every booking that was confirmed, and only those.
set -u
replay=$1 seed=$2 host=$3
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "mounting a small disk needs root"
tmp=$(mktemp -d)
disk=$tmp/disk
mkdir "$disk"
if ! mount -t tmpfs -o size=2m quorvella-full-disk "$disk" 2>"$tmp/mount"; then
    why=$(cat "$tmp/mount")
    rm -rf "$tmp"
    skip "a tmpfs cannot be mounted: $why"
fi
trap 'umount "$disk"; rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

device=$disk/device
"$seed" "$device" "$here/store.seed" >/dev/null || fail "the device cannot be seeded"
# A first start and close lays out the device's folders and help files.
printf 'start\nclose\n' | "$replay" --host "$host" --root "$device" - >/dev/null 2>&1 ||
    fail "the seeded device does not start"

# Fills the disk up to FREE kilobytes left.
leave_free() {
    local avail
    avail=$(df -k --output=avail "$disk" | tail -n 1)
    [ "$avail" -ge "$1" ] || fail "only $avail KB free before filling"
    head -c $(((avail - $1) * 1024)) /dev/zero > "$disk/fill-$1" || fail "the disk cannot be filled"
}

# session NAME N: a session of N bookings of 20 minutes to Travel; its transcript in $tmp/NAME.
session() {
    { echo start; for ((i = 0; i < $2; i++)); do
        printf 'command 40003\nchoose 1019 "20"\nchoose 1021 "Travel"\nclick 1027\n'
    done; echo close; } | "$replay" --host "$host" --root "$device" - > "$tmp/$1" 2> "$tmp/$1.err"
    [ $? -eq 0 ] || fail "$1: the run ends badly: $(grep -v '^>' "$tmp/$1" | tail -n 3)"
}

confirmed() { grep -c '^sound IDW_TIME_ADDED$' "$tmp/$1"; }

leave_free 200
session roomy 100
[ "$(confirmed roomy)" -eq 100 ] ||
    fail "with 200 KB free only $(confirmed roomy) of 100 bookings succeed: $(grep -m 1 '^message' "$tmp/roomy")"
grep '^message' "$tmp/roomy" && fail "with 200 KB free the program says something"
grep 'cannot save settings' "$tmp/roomy.err" && fail "with 200 KB free the settings are not saved"

# Enough bookings to fill what is left a few times over.
leave_free 100
session full 1200
grep -q '^message exclamation "Error during adding record to database: Brumo Quorvella"$' \
    "$tmp/full" || fail "the full disk is not said: $(grep -m 3 '^message' "$tmp/full")"
[ "$(confirmed full)" -gt 0 ] || fail "no booking fits after the first hundred"
total=$(($(confirmed roomy) + $(confirmed full)))

rm -f "$disk"/fill-*
printf 'start\nshow store\nclose\n' | "$replay" --host "$host" --root "$device" - > "$tmp/after" 2>&1 ||
    fail "no start after the disk was full: $(tail -n 3 "$tmp/after")"
grep -qx "database \"Brumo Quorvella\" records $total" "$tmp/after" ||
    fail "$total bookings were confirmed, the store holds: $(grep '^database' "$tmp/after")"
[ "$(grep -c '^record 0x00000013=[0-9]* 0x00010013=[0-9]* 0x00020013=29 0x00030013=10 0x00040013=2005 0x0005001F="Travel" 0x0006001F="20"' "$tmp/after")" -eq "$total" ] ||
    fail "not every stored booking is one that was made"
echo "$total bookings confirmed on $host, $(confirmed full) of them after the first hundred, every one kept"
