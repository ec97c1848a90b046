#!/usr/bin/env bash
# Installs the Debian packages that building and testing Qorkit needs.
# Usage: tools/install-deps.sh [build|fuzz]...   (default: build)
# Run as root it installs what is missing with apt-get; run as another user it prints the
# exact command to run and fails, so that nothing is half-configured.
set -euo pipefail

packages=()
for group in "${@:-build}"; do
    case "$group" in
        build) packages+=(cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev
                          libbenchmark-dev python3 clang-format) ;;
        fuzz) packages+=(clang libclang-rt-14-dev) ;;
        *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

cmd="apt-get install -y ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    $cmd
else
    echo "install-deps: missing packages; run as root:" >&2
    echo "  apt-get update && $cmd" >&2
    exit 1
fi
