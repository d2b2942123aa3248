#!/usr/bin/env bash
# Under a set with automatics the audience window and the overlay page show
# what a spectator reads from afar: the stopped clock dimmed, a running hold
# marked "OSAEKOMI", and once a hold's ippon ends the contest, the result
# across the board, named as the feed names the side, until the clock
# starts again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/feed.sh"

BROWSER=$(command -v chromium || command -v chromium-browser || true)
[ -n "$BROWSER" ] || fail "chromium is needed (scripts/install-deps.sh installs it)"
need_tools curl node

start_display 1280x1024 -screen 1 1280x1024x24
PORT=$((20000 + RANDOM % 20000))
BOARD_TITLE='^Zembrak — IJF 2018$' start_board --rules ijf2018 --audience 1 --feed "127.0.0.1:$PORT"
AUDIENCE=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak audience$' | head -n 1) ||
    fail "no audience window"
feed_up

# Where the audience window shows a part of the board (board pixels: x y w h);
# the 632 x 453 board fills the 1280 x 1024 window's width.
crop() {
    local scale=1280/632 top=$(((1024 - 453 * 1280 / 632) / 2))
    echo "$(($3 * $scale))x$(($4 * $scale))+$(($1 * $scale))+$((top + $2 * $scale))"
}
CLOCK=$(crop 226 100 179 76)
# The left end of the banner, where the board shows only its background.
BANNER=$(crop 2 258 6 10)
audience() { DISPLAY="${DISPLAY%.*}.1" import -window "$AUDIENCE" "$OUT/cues_$1.png"; }
# The mean brightness of a region of an image, in thousandths.
brightness() { convert "$OUT/cues_$1.png" -crop "$2" -colorspace Gray -format '%[fx:int(mean*1000)]' info:; }

sleep 0.5
audience stopped
xdotool key --window "$WINDOW" s
wait_for '["clock_running"]' 10 true
sleep 0.5
audience running
stopped=$(brightness stopped "$CLOCK")
running=$(brightness running "$CLOCK")
echo "the clock's brightness: $stopped stopped, $running running"
[ $((stopped * 3)) -lt $((running * 2)) ] || fail "the stopped clock is not dimmed: $stopped against $running"

# A Home hold, marked on the overlay page while it runs.
xdotool key --window "$WINDOW" Left
wait_for '["osaekomi"]' 10 '"home"'
# Over Home's name panel, white as designed, the red "OSAEKOMI" mark.
audience holding
MARK=$(crop 50 80 100 25)
[ "$(brightness holding "$MARK")" -lt $(($(brightness running "$MARK") * 2 / 3)) ] ||
    fail "no OSAEKOMI mark over Home's hold counter"
page() {
    env -u DISPLAY timeout 60 "$BROWSER" --headless --no-sandbox --disable-gpu --hide-scrollbars \
        --user-data-dir="$WORK/browser" --window-size=1920,1080 --virtual-time-budget=2000 "$@" \
        "http://127.0.0.1:$PORT/?poll=200" 2>/dev/null
}
dom=$(page --dump-dom)
if [ "$(field '["osaekomi"]')" = '"home"' ]; then
    grep -q '<div class="mark on">OSAEKOMI</div>' <<<"$dom" || fail "the page does not mark the hold: $dom"
    grep -q '<span id="clock" class="running">' <<<"$dom" || fail "the page's clock is not running"
fi

# Held to ippon: the contest ends, and the banner names it.
wait_for '["clock_running"]' 40 false
banner=$(field '["banner"]')
expected=$(state | node -e 'const s = JSON.parse(require("fs").readFileSync(0, "utf8"));
    console.log(JSON.stringify("IPPON \u2014 " + s.home.name.toUpperCase()));')
[ "$banner" = "$expected" ] || fail "the feed's banner is $banner, not $expected"
sleep 0.5
audience ended
differs running ended || fail "the audience window did not change at the end"
[ "$(brightness ended "$BANNER")" -lt "$(brightness running "$BANNER")" ] ||
    fail "no banner across the audience window"
dom=$(page --dump-dom)
text=$(node -e 'console.log(JSON.parse(process.argv[1]))' "$banner")
grep -q "<div id=\"banner\" class=\"on\">$text</div>" <<<"$dom" ||
    fail "the page shows no banner: $(grep -o '<div id="banner"[^<]*</div>' <<<"$dom")"
grep -q '<span id="clock" class="stopped">' <<<"$dom" || fail "the page's clock is not shown stopped"
page --screenshot="$OUT/cues_overlay.png" >/dev/null

# The next start of the clock takes the banner away.
xdotool key --window "$WINDOW" s
wait_for '["banner"]' 10 '""'
sleep 0.5
audience restarted
[ "$(brightness restarted "$BANNER")" -gt "$(brightness ended "$BANNER")" ] || fail "the banner stayed"
echo "PASS: the audience window and the overlay show the stopped clock, the hold and the result"
