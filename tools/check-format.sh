#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format not installed" >&2; exit 1; }
bad=0
while IFS= read -r f; do
    if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then
        echo "check-format: $f is not formatted (run: make format)"
        bad=1
    fi
done < <(git ls-files '*.h' '*.cpp')
exit $bad
