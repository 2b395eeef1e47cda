#!/usr/bin/env bash
# Runs one scenario: seeds a fresh device folder when NAME.seed exists, runs NAME.replay on it
# under HOST (headless or qt) and compares what it prints with NAME.transcript. A transcript with
# a "! " line expects the run to stop with status 1, any other status 0. Files the run must
# leave behind are in NAME.files/, paths it must not leave in NAME.nofiles, files it must keep
# as the seed left them in NAME.kept (see below). The run sees TZ=UTC unless NAME.env, lines of
# NAME=VALUE, sets its own environment.
set -u
replay=$1 seed=$2 base=$3 host=${4:-headless}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
if [ -f "$base.seed" ]; then
    "$seed" "$root/device" "$base.seed" || exit 1
fi
# Files the run must keep exactly as the seed left them: NAME.kept lists them, one a line, as
# PATH, or as "PATH -> NEWPATH" when the run must have moved them aside. Their bytes are copied
# now and compared at the end.
if [ -f "$base.kept" ]; then
    mkdir "$root/kept"
    n=0
    while IFS= read -r line || [ -n "$line" ]; do
        [ -z "$line" ] && continue
        n=$((n + 1))
        from=${line%% -> *}
        if [ ! -f "$root/device/$from" ]; then
            echo "the seed left no file $from" >&2
            exit 1
        fi
        cp "$root/device/$from" "$root/kept/$n"
    done < "$base.kept"
fi
environment=(TZ=UTC)
if [ -f "$base.env" ]; then
    while IFS= read -r line || [ -n "$line" ]; do
        [ -n "$line" ] && environment+=("$line")
    done < "$base.env"
fi
actual=$(env "${environment[@]}" "$replay" --host "$host" --root "$root/device" "$base.replay" 2>"$root/stderr")
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
# Files the run must leave on the device: every file under NAME.files/ at the same path under
# the device root, byte for byte; and none of the paths listed in NAME.nofiles, one a line.
device="$root/device"
if [ -d "$base.files" ]; then
    while IFS= read -r -d '' want; do
        rel=${want#"$base.files/"}
        if [ ! -f "$device/$rel" ]; then
            echo "missing file: $rel" >&2
            exit 1
        fi
        if ! cmp "$want" "$device/$rel" >&2; then
            echo "file differs: $rel" >&2
            exit 1
        fi
    done < <(find "$base.files" -type f -print0)
fi
if [ -f "$base.kept" ]; then
    n=0
    while IFS= read -r line || [ -n "$line" ]; do
        [ -z "$line" ] && continue
        n=$((n + 1))
        to=${line##* -> }
        if [ ! -f "$device/$to" ]; then
            echo "missing kept file: $to" >&2
            exit 1
        fi
        if ! cmp "$root/kept/$n" "$device/$to" >&2; then
            echo "kept file changed: $to" >&2
            exit 1
        fi
    done < "$base.kept"
fi
if [ -f "$base.nofiles" ]; then
    while IFS= read -r rel || [ -n "$rel" ]; do
        [ -z "$rel" ] && continue
        if [ -e "$device/$rel" ]; then
            echo "file should not exist: $rel" >&2
            exit 1
        fi
    done < "$base.nofiles"
fi
