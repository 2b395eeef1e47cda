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
device="$root/device"
fail() { echo "$*" >&2; exit 1; }
# The non-empty lines of a file, if it exists.
lines() { [ -f "$1" ] && grep -v '^$' "$1"; }
[ -f "$base.seed" ] && { "$seed" "$device" "$base.seed" || exit 1; }
# Files the run must keep exactly as the seed left them: NAME.kept lists them, one a line, as
# PATH, or as "PATH -> NEWPATH" when the run must have moved them aside. Their bytes are copied
# now and compared at the end.
mapfile -t kept < <(lines "$base.kept")
mkdir "$root/kept"
for n in "${!kept[@]}"; do
    cp "$device/${kept[n]%% -> *}" "$root/kept/$n" || fail "the seed left no file ${kept[n]}"
done
mapfile -t environment < <(echo TZ=UTC; lines "$base.env")
actual=$(env "${environment[@]}" "$replay" --host "$host" --root "$device" "$base.replay" 2>"$root/stderr")
status=$?
grep -q '^! ' "$base.transcript" && expected_status=1 || expected_status=0
diff -u "$base.transcript" <(printf '%s\n' "$actual") || fail "transcript differs: $base.transcript"
[ "$status" -eq "$expected_status" ] || fail "exit status $status, expected $expected_status"
# Files the run must leave on the device: every file under NAME.files/ at the same path under
# the device root, byte for byte; and none of the paths listed in NAME.nofiles, one a line.
while IFS= read -r -d '' want; do
    cmp "$want" "$device/${want#"$base.files/"}" >&2 || fail "file differs or missing: $want"
done < <([ -d "$base.files" ] && find "$base.files" -type f -print0)
for n in "${!kept[@]}"; do
    cmp "$root/kept/$n" "$device/${kept[n]##* -> }" >&2 || fail "kept file changed: ${kept[n]}"
done
while IFS= read -r rel; do
    [ -e "$device/$rel" ] && fail "file should not exist: $rel"
done < <(lines "$base.nofiles")
exit 0
