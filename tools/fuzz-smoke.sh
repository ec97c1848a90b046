#!/usr/bin/env bash
# Runs every fuzz target in DIR for SECONDS seconds each, starting from an empty corpus, and
# prints one line per target: executions, executions per second and coverage. A crash prints
# the fuzzer's report and fails.
set -euo pipefail
dir=${1:?usage: fuzz-smoke.sh DIR SECONDS}
secs=${2:-10}
found=0
printf '%-32s %12s %10s %8s %8s\n' target runs exec/s cov features
for f in "$dir"/fuzz_*; do
    [ -x "$f" ] || continue
    found=1
    corpus=$(mktemp -d)
    log=$(mktemp)
    if ! "$f" -max_total_time="$secs" -rss_limit_mb=2048 -print_final_stats=1 "$corpus" \
        >"$log" 2>&1; then
        echo "== $(basename "$f") failed:"
        tail -n 40 "$log"
        rm -rf "$corpus" "$log"
        exit 1
    fi
    stat() { sed -n "s/^stat::$1:[[:space:]]*//p" "$log" | tail -n 1; }
    status=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    cov=$(printf '%s\n' "$status" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
    ft=$(printf '%s\n' "$status" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
    printf '%-32s %12s %10s %8s %8s\n' "$(basename "$f")" "$(stat number_of_executed_units)" \
        "$(stat average_exec_per_sec)" "${cov:-?}" "${ft:-?}"
    rm -rf "$corpus" "$log"
done
[ $found -eq 1 ] || { echo "fuzz-smoke: no fuzz targets in $dir" >&2; exit 1; }
