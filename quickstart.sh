#!/bin/sh
# Quick start on a fresh Debian 12 machine, which may have neither make nor a compiler nor
# CMake: installs make (and bash, which the dependency script uses) when missing, then runs
# `make demo` or `make test`, which install the rest of what the build needs.
# Usage: sh quickstart.sh [demo|test]   (as root, or with the packages already installed)
set -eu
target=${1:-demo}
case $target in
    demo | test) ;;
    *) echo "usage: sh quickstart.sh [demo|test]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")"
need=""
command -v make >/dev/null 2>&1 || need="$need make"
command -v bash >/dev/null 2>&1 || need="$need bash"
if [ -n "$need" ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "quickstart: missing$need; run as root, or first: apt-get install -y$need" >&2
        exit 1
    fi
    echo "quickstart: installing$need"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086  # the list is meant to split
    apt-get install -y -qq $need
fi
exec make "$target"
