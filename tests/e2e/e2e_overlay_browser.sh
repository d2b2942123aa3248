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
sleep 1.2

page() {
    env -u DISPLAY timeout 60 "$BROWSER" --headless --no-sandbox --disable-gpu --hide-scrollbars \
        --user-data-dir="$WORK/browser" --window-size=1920,1080 --virtual-time-budget=2000 "$@" \
        "http://127.0.0.1:$PORT/?poll=200" 2>/dev/null
}
dom=$(page --dump-dom)
grep -q '<div id="board" class="">' <<<"$dom" || fail "the page did not reach the feed: $(grep 'id="board"' <<<"$dom")"
grep -Eq '<span id="clock" class="running">1:5[89]</span>' <<<"$dom" || fail "no running clock: $(grep 'id="clock"' <<<"$dom")"
grep -q '<span class="who">Visitor</span>' <<<"$dom" || fail "no Visitor name"
grep -q '<span class="flag winner on">WINNER</span>' <<<"$dom" || fail "no winner mark"
grep -q '<div class="hold on">[0-9]</div>' <<<"$dom" || fail "no osaekomi count"
page --screenshot="$OUT/overlay.png" >/dev/null
[ -s "$OUT/overlay.png" ] || fail "no screenshot of the overlay page"
echo "PASS: the overlay page shows the match in a browser"
