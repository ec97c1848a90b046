#!/bin/sh
# Compiles every public header on its own, as a consumer with strict warnings would include it:
# each must be self-contained and free of warnings under clang++.
# Usage: tools/check-headers.sh [CLANG++]
set -eu
cd "$(dirname "$0")/.."
cxx=${1:-clang++}
command -v "$cxx" >/dev/null || { echo "check-headers: $cxx not installed" >&2; exit 1; }
flags="-std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wcomma
       -Wdocumentation -Werror -Iinclude"
export cxx flags
find include/qorkit -name '*.h' | sort | xargs -P 2 -I{} sh -c '
    h=${1#include/}
    printf "#include \"%s\"\n" "$h" | $cxx $flags -x c++ - -o /dev/null 2>/tmp/check-headers.$$ ||
        { echo "check-headers: $h"; cat /tmp/check-headers.$$; rm -f /tmp/check-headers.$$; exit 255; }
    rm -f /tmp/check-headers.$$' sh {}
echo "check-headers: $(find include/qorkit -name '*.h' | wc -l) headers compile cleanly"
