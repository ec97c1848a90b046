#!/bin/sh
# Fills tests/data/html_browser.html with values that need escaping (through `qorkit html
# fill`, that is THtmlProducer), opens the page in headless Chromium and checks that the text
# the browser shows for each value is exactly the value given.
# Usage: browser_check.sh QORKIT_TOOL TEMPLATE WORK_DIR. Exit 77 (skipped) without Chromium,
# unless QORKIT_REQUIRE_BROWSER is set (as in CI): then a missing browser fails the test.
set -u
tool=$1 template=$2 work=$3
chromium=$(command -v chromium || true)
if [ -z "$chromium" ]; then
    if [ -n "${QORKIT_REQUIRE_BROWSER:-}" ]; then
        echo "chromium not found on PATH (Debian package chromium), and QORKIT_REQUIRE_BROWSER is set"
        exit 1
    fi
    echo "chromium not found on PATH (Debian package chromium): browser test skipped"
    exit 77
fi
v1='<b>Tom & "Jerry"</b> 5<6 &amp; it'"'"'s'
v2='été € 😀 ™ &#65; </div>'
v3='"><script>alert(1)</script>'
mkdir -p "$work" || exit 1
page=$work/browser_page.html
"$tool" html fill "$template" v1="$v1" v2="$v2" v3="$v3" >"$page" || exit 1
profile=$(mktemp -d) || exit 1
trap 'rm -rf "$profile"' EXIT
dom=$(timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --disable-quic \
    --no-first-run --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --dump-dom "file://$page" 2>"$work/chromium.log")
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
expected="values:$(hex "$v1"):$(hex "$v2"):$(hex "$v3"):end"
shown=$(printf '%s\n' "$dom" | grep -o 'values:[0-9a-f:]*end')
if [ "$shown" != "$expected" ]; then
    echo "browser shows:  ${shown:-nothing (see $work/chromium.log)}"
    echo "values given:   $expected"
    exit 1
fi
echo "the browser shows exactly the three values"
