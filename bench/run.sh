#!/usr/bin/env bash
# Prints the engine's figures on this machine, measured through korvane-run.
#
#   bench/run.sh            builds korvane-run in build/ if needed, then measures
#   KORVANE_BUILD_DIR=dir   use another build directory
#   RUNS=n                  best of n runs (default 3)
set -euo pipefail

cd "$(dirname "$0")/.."
BUILD=${KORVANE_BUILD_DIR:-build}
RUNS=${RUNS:-3}
RUNNER=$BUILD/korvane-run
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target korvane-run -j2 >/dev/null

# Best wall time of $RUNS runs of the command, in seconds.
best_time() {
    local best=
    for _ in $(seq "$RUNS"); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        local t=$((end - start))
        if [ -z "$best" ] || [ "$t" -lt "$best" ]; then
            best=$t
        fi
    done
    awk -v ns="$best" 'BEGIN { printf "%.4f", ns / 1e9 }'
}

json_field() {
    grep -o "\"$2\": [0-9]*" <<<"$1" | head -1 | awk '{ print $2 }'
}

peak_kib() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'
}

rate() {
    awk -v n="$1" -v t="$2" 'BEGIN { printf "%.3g", n / t }'
}

echo "korvane-run: $(cd "$BUILD" && pwd)/korvane-run ($(nproc) cores, $(uname -m))"

startup=$(best_time "$RUNNER" bench/empty.tur)
echo "Start-up (empty script):      ${startup} s"

# W1: instructions per second.
report=$("$RUNNER" --json bench/w1-compute.tur)
steps=$(json_field "$report" steps)
t=$(best_time "$RUNNER" bench/w1-compute.tur)
echo "W1 computation:               ${steps} instructions in ${t} s = $(rate "$steps" "$t") instructions/s"

# W2: snapshots per second and peak memory.
report=$("$RUNNER" --json bench/w2-drawing.tur)
snapshots=$(json_field "$report" traceLength)
steps=$(json_field "$report" steps)
t=$(best_time "$RUNNER" bench/w2-drawing.tur)
peak=$(peak_kib "$RUNNER" bench/w2-drawing.tur)
echo "W2 drawing:                   ${snapshots} snapshots (${steps} instructions) in ${t} s" \
    "= $(rate "$snapshots" "$t") snapshots/s, peak memory $((peak / 1024)) MiB"

# W3: the trace write is the difference between a run with --res and one
# without; the read is a run of an empty script from the trace, less start-up.
"$RUNNER" --res "$WORK/w3.res" bench/w3-trace.tur
bytes=$(stat -c %s "$WORK/w3.res")
lines=$(($(wc -l <"$WORK/w3.res") - 1))
mb=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }')
run_only=$(best_time "$RUNNER" bench/w3-trace.tur)
run_write=$(best_time "$RUNNER" --res "$WORK/out.res" bench/w3-trace.tur)
read_back=$(best_time "$RUNNER" --trace "$WORK/w3.res" bench/empty.tur)
peak=$(peak_kib "$RUNNER" --trace "$WORK/w3.res" bench/empty.tur)
write_s=$(awk -v a="$run_write" -v b="$run_only" 'BEGIN { printf "%.4f", a - b }')
read_s=$(awk -v a="$read_back" -v b="$startup" 'BEGIN { printf "%.4f", a - b }')
echo "W3 trace file:                ${lines} snapshots, ${mb} MB"
echo "   write:                     ${write_s} s = $(rate "$mb" "$write_s") MB/s"
echo "   read:                      ${read_s} s = $(rate "$mb" "$read_s") MB/s, peak memory $((peak / 1024)) MiB"
