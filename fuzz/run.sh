#!/usr/bin/env bash
# Builds the fuzzers with clang in build-fuzz and runs each for SECONDS_EACH seconds (15 when
# not given) on a copy of its corpus under fuzz/corpus/, with fuzz/NAME.dict as its dictionary
# where there is one. Exits 1 on any crash, leak, time-out
# or sanitizer report, leaving the input that caused it in build-fuzz/findings/NAME/.
#
#   fuzz/run.sh [SECONDS_EACH]
set -euo pipefail
seconds=${1:-15}
case $seconds in '' | *[!0-9]*) echo "usage: fuzz/run.sh [SECONDS_EACH]" >&2; exit 2 ;; esac
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=$source_dir/build-fuzz
fuzzers=(record_codec registry_hive journal_line device_seed replay_script replay_actions)

# Every library gets coverage and the checks, so that a fault inside it is seen where it
# happens; only the fuzz targets are built (no tests, no Qt host).
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
mkdir -p "$build"
CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build" -G Ninja -DQV_FUZZ=ON -DQV_SANITIZE=ON \
    -DQV_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    "${launcher[@]}" > "$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" --target "${fuzzers[@]/#/fuzz_}"

# The fuzzers' device folders and hive files: in memory where the machine has it, gone after.
scratch=$(mktemp -d -p /dev/shm qv-fuzz-XXXXXX 2> /dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for name in "${fuzzers[@]}"; do
    work=$build/work/$name findings=$build/findings/$name log=$build/fuzz_$name.log
    rm -rf "$work"
    mkdir -p "$work" "$findings"
    cp -R "$here/corpus/$name/." "$work/"
    dict=()
    [ -f "$here/$name.dict" ] && dict=(-dict="$here/$name.dict")
    echo "== fuzz_$name: ${seconds}s"
    if ! "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" "${dict[@]}" "$work" \
        > "$log" 2>&1 || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
        failed=1
        tail -n 60 "$log" >&2
        echo "fuzz_$name failed; the input is in $findings/" >&2
    else
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
    fi
done
exit $failed
