#!/usr/bin/env bash
# Runs every fuzz target in DIR for SECONDS seconds each, starting from an empty corpus.
set -euo pipefail
dir=${1:?usage: fuzz-smoke.sh DIR SECONDS}
secs=${2:-10}
found=0
for f in "$dir"/fuzz_*; do
    [ -x "$f" ] || continue
    found=1
    echo "== $(basename "$f") for ${secs}s"
    corpus=$(mktemp -d)
    "$f" -max_total_time="$secs" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
    rm -rf "$corpus"
done
[ $found -eq 1 ] || { echo "fuzz-smoke: no fuzz targets in $dir" >&2; exit 1; }
