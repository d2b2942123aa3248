#!/usr/bin/env bash
# The overlay page in a headless browser shows the match the board shows.
# It polls here, as a browser with a stream open never settles for a
# snapshot of its page.
source "$(dirname "$0")/lib.sh"

BROWSER=$(command -v chromium || command -v chromium-browser || true)
[ -n "$BROWSER" ] || fail "chromium is needed (scripts/install-deps.sh installs it)"
command -v curl >/dev/null || fail "curl is needed (scripts/install-deps.sh installs it)"

start_display
PORT=$((20000 + RANDOM % 20000))
start_board --feed "127.0.0.1:$PORT"
for _ in $(seq 20); do curl -s --max-time 1 "http://127.0.0.1:$PORT/state" >/dev/null && break; sleep 0.1; done

# The operator starts the clock, an osaekomi for Home, and lights Home's winner lamp.
xdotool key --window "$WINDOW" s Left
xdotool key --window "$WINDOW" Tab Tab Return
for _ in $(seq 50); do curl -s --max-time 1 "http://127.0.0.1:$PORT/state" | grep -q '"clock":"2:00"' || break; sleep 0.1; done

page() {
    env -u DISPLAY timeout 60 "$BROWSER" --headless --no-sandbox --disable-gpu --hide-scrollbars \
        --user-data-dir="$WORK/browser" --window-size=1920,1080 --virtual-time-budget=2000 "$@" \
        "http://127.0.0.1:$PORT/?poll=200" 2>/dev/null
}
# Seconds left on the feed's clock, and on the page's.
seconds() {
    sed -nE 's/.*"clock":"([0-9]+):([0-9]+)".*/\1 \2/p' | {
        read -r m s || true # the feed's answer ends without a line feed
        [ -n "${s:-}" ] && echo $((m * 60 + 10#$s))
    }
}
before=$(curl -s --max-time 2 "http://127.0.0.1:$PORT/state" | seconds) || fail "no clock on the feed"
dom=$(page --dump-dom)
after=$(curl -s --max-time 2 "http://127.0.0.1:$PORT/state" | seconds) || fail "no clock on the feed"
grep -q '<div id="board" class="">' <<<"$dom" || fail "the page did not reach the feed: $(grep 'id="board"' <<<"$dom")"
# However long the browser took, the page shows the running clock between
# what the feed told before and after it.
shown=$(sed -nE 's/.*<span id="clock" class="running">([0-9]+):([0-9]+)<\/span>.*/"clock":"\1:\2"/p' <<<"$dom" | seconds) ||
    fail "no running clock: $(grep 'id="clock"' <<<"$dom")"
[ "$before" -lt 120 ] && [ "$before" -ge "$shown" ] && [ "$shown" -ge "$after" ] ||
    fail "the page's clock ($shown s) is not between the feed's $before s and $after s"
grep -q '<span class="who">Visitor</span>' <<<"$dom" || fail "no Visitor name"
grep -q '<span class="flag winner on">WINNER</span>' <<<"$dom" || fail "no winner mark"
grep -Eq '<div class="hold on">[0-9]+</div>' <<<"$dom" || fail "no osaekomi count"
page --screenshot="$OUT/overlay.png" >/dev/null
[ -s "$OUT/overlay.png" ] || fail "no screenshot of the overlay page"
echo "PASS: the overlay page shows the match in a browser"
