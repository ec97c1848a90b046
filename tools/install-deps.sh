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
                          libbenchmark-dev python3 clang-format zlib1g-dev libssl-dev locales
                          libfreetype-dev libfontconfig-dev fonts-dejavu-core
                          libpng-dev libcairo2-dev poppler-utils libre2-dev libisal-dev
                          chromium xvfb xauth zenity xdotool) ;;
        fuzz) packages+=(clang libclang-rt-14-dev) ;;
        *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
    esac
done

# A locale with a decimal comma, so that the tests can prove the number texts ignore it.
ensure_comma_locale() {
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
    if [ "$(id -u)" -eq 0 ] && command -v localedef >/dev/null; then
        echo "install-deps: generating the de_DE.UTF-8 locale for the locale tests"
        localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
    fi
}

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    ensure_comma_locale
    exit 0
fi

cmd="apt-get install -y ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    $cmd
    ensure_comma_locale
else
    echo "install-deps: missing packages; run as root:" >&2
    echo "  apt-get update && $cmd" >&2
    exit 1
fi
