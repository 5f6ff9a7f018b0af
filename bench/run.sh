#!/usr/bin/env bash
# Prints the engine's figures on this machine, measured through korvane-run,
# each beside its target.
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

# Median wall time of 9 runs of the command, in seconds.
median_time() {
    local times=()
    for _ in $(seq 9); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        times+=($((end - start)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 5p | awk '{ printf "%.4f", $1 / 1e9 }'
}

json_field() {
    grep -o "\"$2\": [0-9]*" <<<"$1" | head -1 | awk '{ print $2 }'
}

# A run stopped by its step limit exits with 1: its peak counts all the same.
peak_kib() {
    { /usr/bin/time -v "$@" 2>&1 >/dev/null || true; } | awk -F': ' '/Maximum resident set size/ { print $2 }'
}

rate() {
    awk -v n="$1" -v t="$2" 'BEGIN { printf "%.3g", n / t }'
}

minus() {
    awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; printf "%.4f", d < 0 ? 0 : d }'
}

# "met" or "MISSED": $1 compared with $3 by $2 (lt or ge).
verdict() {
    awk -v a="$1" -v op="$2" -v b="$3" \
        'BEGIN { ok = op == "lt" ? a < b : a >= b; print ok ? "met" : "MISSED" }'
}

echo "korvane-run: $(cd "$BUILD" && pwd)/korvane-run ($(nproc) cores, $(uname -m))"

startup=$(best_time "$RUNNER" bench/empty.tur)
echo "Start-up (empty script):      ${startup} s"
startup_median=$(median_time "$RUNNER" bench/empty.tur)
echo "Start-up, median of 9:        ${startup_median} s (target < 0.008 s: $(verdict "$startup_median" lt 0.008))"

# W1: instructions per second over 10,000,000 turns of a loop.
report=$("$RUNNER" --json bench/w1-compute.tur)
steps=$(json_field "$report" steps)
t=$(best_time "$RUNNER" bench/w1-compute.tur)
ips=$(rate "$steps" "$t")
echo "W1 computation:               ${steps} instructions in ${t} s = ${ips} instructions/s" \
    "(target >= 2e+08: $(verdict "$ips" ge 2e8))"

# Drawing without an image: the script side of W2.
report=$("$RUNNER" --json bench/w2-drawing.tur)
snapshots=$(json_field "$report" traceLength)
steps=$(json_field "$report" steps)
t=$(best_time "$RUNNER" bench/w2-drawing.tur)
peak=$(peak_kib "$RUNNER" bench/w2-drawing.tur)
echo "Drawing, trace only:          ${snapshots} snapshots (${steps} instructions) in ${t} s" \
    "= $(rate "$snapshots" "$t") snapshots/s, peak memory $((peak / 1024)) MiB"

# W2 and W3: 100,000 and 1,000,000 segments from script to an 800x800 PNG.
t=$(best_time "$RUNNER" --image "$WORK/w2.png" --size 800x800 bench/w2-drawing.tur)
peak=$(peak_kib "$RUNNER" --image "$WORK/w2.png" --size 800x800 bench/w2-drawing.tur)
echo "W2 image:                     100,000 segments to an 800x800 PNG in ${t} s, peak memory $((peak / 1024)) MiB" \
    "(target < 0.2 s: $(verdict "$t" lt 0.2))"
t=$(best_time "$RUNNER" --image "$WORK/w3.png" --size 800x800 bench/w3-drawing.tur)
peak=$(peak_kib "$RUNNER" --image "$WORK/w3.png" --size 800x800 bench/w3-drawing.tur)
mib=$((peak / 1024))
echo "W3 image:                     1,000,000 segments to an 800x800 PNG in ${t} s, peak memory ${mib} MiB" \
    "(targets < 1.5 s: $(verdict "$t" lt 1.5); < 150 MB: $(verdict "$((peak * 1024))" lt 150000000))"

# Trace files: the write is the difference between a run with --res and one
# without; the read is a run of an empty script from the trace, less start-up.
"$RUNNER" --res "$WORK/w3.res" bench/w3-trace.tur
bytes=$(stat -c %s "$WORK/w3.res")
lines=$(($(wc -l <"$WORK/w3.res") - 1))
mb=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }')
run_only=$(best_time "$RUNNER" bench/w3-trace.tur)
run_write=$(best_time "$RUNNER" --res "$WORK/out.res" bench/w3-trace.tur)
read_back=$(best_time "$RUNNER" --trace "$WORK/w3.res" bench/empty.tur)
peak=$(peak_kib "$RUNNER" --trace "$WORK/w3.res" bench/empty.tur)
write_s=$(minus "$run_write" "$run_only")
read_s=$(minus "$read_back" "$startup")
both=$(awk -v a="$write_s" -v b="$read_s" 'BEGIN { printf "%.4f", a + b }')
echo "Trace file:                   ${lines} snapshots, ${mb} MB, written and read back in ${both} s" \
    "(target < 0.5 s: $(verdict "$both" lt 0.5))"
echo "   write:                     ${write_s} s = $(rate "$mb" "$write_s") MB/s"
echo "   read:                      ${read_s} s = $(rate "$mb" "$read_s") MB/s, peak memory $((peak / 1024)) MiB"

# Analysis: a run limited to 0 steps analyses (and decodes) the script and
# executes nothing; start-up is taken off.
awk -v LINES=100000 -f bench/long-script.awk >"$WORK/long.tur"
t=$(best_time "$RUNNER" --max-steps 0 "$WORK/long.tur")
analysis=$(minus "$t" "$startup")
echo "Analysis:                     a 100,000-line script ($(($(wc -c <"$WORK/long.tur") / 1024)) KiB) in ${analysis} s" \
    "(target < 0.3 s: $(verdict "$analysis" lt 0.3))"

# 50,000 procedures before any "end" (each one refused), then 50,000 after it.
awk 'BEGIN { print "Tur=Asm"; for (i = 0; i < 50000; i++) print "proc: early;";
             print "end;"; for (i = 0; i < 50000; i++) print "proc: late;" }' >"$WORK/procs.tur"
t=$(best_time "$RUNNER" --max-steps 0 "$WORK/procs.tur")
analysis=$(minus "$t" "$startup")
echo "Analysis:                     50,000 + 50,000 proc lines in ${analysis} s" \
    "(target < 0.3 s: $(verdict "$analysis" lt 0.3))"

# The analysis's memory: a 100 MB script of 10-character lines ("move: 12;"
# and its line break), analysed and decoded; peak of the whole runner.
awk 'BEGIN { print "Tur=Asm"; for (i = 0; i < 10000000; i++) print "move: 12;" }' >"$WORK/big.tur"
peak=$(peak_kib "$RUNNER" --max-steps 0 "$WORK/big.tur")
per_line=$((peak * 1024 / 10000000))
echo "Analysis memory:              a 100 MB script of 10,000,000 lines, peak memory $((peak / 1024)) MiB" \
    "= ${per_line} bytes per line (target < 150: $(verdict "$per_line" lt 150))"
rm -f "$WORK/big.tur"
