#!/usr/bin/env bash
# The overlay page shipped beside the program is self-contained (it fetches
# nothing from the network) and its script parses.
source "$(dirname "$0")/lib.sh"

PAGE="$(dirname "$PROGRAM")/overlay.html"
[ -f "$PAGE" ] || fail "no overlay page beside the program"
command -v node >/dev/null || fail "node is needed to check the page's script (scripts/install-deps.sh installs it)"

if grep -Eqi '(src|href)=|@import|https?://|url\(' "$PAGE"; then
    fail "the overlay page loads something from elsewhere: $(grep -Eni '(src|href)=|@import|https?://|url\(' "$PAGE")"
fi
[ "$(grep -c '<script>' "$PAGE")" = 1 ] || fail "the overlay page should hold exactly one inline script"
sed -n '/<script>/,/<\/script>/p' "$PAGE" | sed '1d;$d' >"$WORK/overlay.js"
node --check "$WORK/overlay.js" || fail "the overlay page's script does not parse"
echo "PASS: the overlay page is self-contained and its script parses"
