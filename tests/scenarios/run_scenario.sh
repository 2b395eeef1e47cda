#!/usr/bin/env bash
# Runs one scenario: seeds a fresh device folder when NAME.seed exists, runs NAME.replay on it
# under HOST (headless or qt) and compares what it prints with NAME.transcript. A transcript with
# a "! " line expects the run to stop with status 1, any other status 0.
set -u
replay=$1 seed=$2 base=$3 host=${4:-headless}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
if [ -f "$base.seed" ]; then
    "$seed" "$root/device" "$base.seed" || exit 1
fi
actual=$("$replay" --host "$host" --root "$root/device" "$base.replay" 2>"$root/stderr")
status=$?
expected_status=0
grep -q '^! ' "$base.transcript" && expected_status=1
if ! diff -u "$base.transcript" <(printf '%s\n' "$actual"); then
    echo "transcript differs: $base.transcript" >&2
    exit 1
fi
if [ "$status" -ne "$expected_status" ]; then
    echo "exit status $status, expected $expected_status" >&2
    exit 1
fi
