#!/usr/bin/env bash
# A long mixed session under HOST: gen.py writes the seed, the script, the projects and records
# it must leave and the files its exports must write; the session runs on a fresh device and
# check.py compares its final store and exported files with them.
#
#   run_long_session.sh REPLAY SEED_DEVICE HOST [ACTIONS]
set -u
replay=$1 seed=$2 host=$3 actions=${4:-3000}
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen.py" "$work/session.seed" "$work/session.replay" "$work/expected" \
    "$work/files" "$actions" && "$seed" "$work/device" "$work/session.seed" || exit 1
"$replay" --host "$host" --root "$work/device" "$work/session.replay" > "$work/transcript" \
    2> "$work/stderr" ||
    { echo "the session stopped with status $?:"; tail -n 15 "$work/transcript"; exit 1; } >&2
python3 "$here/check.py" "$work/transcript" "$work/expected" "$work/files" "$work/device"
