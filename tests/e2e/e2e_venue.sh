#!/usr/bin/env bash
# At the venue: help without a display, a screen that is not there, the
# audience window beside the board, and the live feed followed with curl.
source "$(dirname "$0")/lib.sh"

help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$PROGRAM" --help) || fail "--help failed"
for flag in --fullscreen "--screen <N>" "--audience <N>" "--feed <[ADDRESS:]PORT>"; do
    grep -qF -- "$flag" <<<"$help" || fail "--help does not tell of $flag"
done
env -u DISPLAY "$PROGRAM" --version | grep -Eq '^Zembrak [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version"
if env -u DISPLAY "$PROGRAM" --feed 0 2>"$WORK/bad.log"; then fail "--feed 0 was accepted"; fi
grep -q -- "--feed" "$WORK/bad.log" || fail "no word on the bad --feed: $(cat "$WORK/bad.log")"

command -v curl >/dev/null || fail "curl is needed (scripts/install-deps.sh installs it)"
start_display
PORT=$((20000 + RANDOM % 20000))
start_board --screen 5 --audience 0 --feed "127.0.0.1:$PORT"
grep -q -- "--screen 5: there is no such screen" "$WORK/board.log" || fail "no word on the missing screen"

AUDIENCE=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak audience$' | head -n 1) ||
    fail "no audience window"
eval "$(xdotool getwindowgeometry --shell "$AUDIENCE")"
[ "$WIDTH x $HEIGHT" = "1280 x 1024" ] || fail "the audience window is not full screen: $WIDTH x $HEIGHT"

state() { curl -s --max-time 2 "http://127.0.0.1:$PORT/state"; }
for _ in $(seq 20); do state >/dev/null && break; sleep 0.1; done
state | grep -q '"clock":"2:00"' || fail "the feed does not show 2:00: $(state)"

# A second board asking for the same port ends at once, before any window,
# with status 2 and the address and port named.
status=0
timeout 20 "$PROGRAM" --feed "127.0.0.1:$PORT" >"$WORK/taken.log" 2>&1 || status=$?
[ "$status" = 2 ] || fail "a feed port in use gave status $status: $(cat "$WORK/taken.log")"
grep -q -- "--feed: cannot serve on 127.0.0.1:$PORT" "$WORK/taken.log" || fail "no word on the port in use: $(cat "$WORK/taken.log")"
import -window "$AUDIENCE" "$OUT/audience_before.png"

# The operator starts the clock on the board; the feed and the audience follow.
xdotool key --window "$WINDOW" s
for _ in $(seq 50); do state | grep -q '"clock":"2:00"' || break; sleep 0.1; done
state | grep -q '"clock_running":true' || fail "the feed missed the start: $(state)"
state | grep -Eq '"clock":"1:[0-5][0-9]"' || fail "the feed's clock does not run: $(state)"
import -window "$AUDIENCE" "$OUT/audience_running.png"
differs audience_before audience_running || fail "the audience window did not follow the clock"

[ "$(curl -s -o /dev/null -w '%{http_code}' -X POST "http://127.0.0.1:$PORT/state")" = 405 ] || fail "POST was not refused"
[ "$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:$PORT/nothing")" = 404 ] || fail "no 404"
# Read whole: grep -q leaving a pipe early can fail curl on a larger page.
grep -q 'EventSource' <<<"$(curl -s "http://127.0.0.1:$PORT/")" || fail "the overlay page is not served"
events=$(curl -s -N --max-time 1 "http://127.0.0.1:$PORT/events" || true)
grep -q '^data: {' <<<"$events" || fail "no event on /events: $events"

# A double-click on the audience window, away from the board, leaves full screen.
xdotool mousemove 1000 900 click --repeat 2 --delay 80 1
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$AUDIENCE")"
[ "$WIDTH x $HEIGHT" = "640 x 512" ] || fail "the double-click did not leave full screen: $WIDTH x $HEIGHT"
state | grep -q '"clock_running":true' || fail "the double-click reached the board"

# Full screen with no window manager to do it: the board covers the screen itself.
kill "$BOARD_PID"
wait "$BOARD_PID" 2>/dev/null || true
start_board --fullscreen
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
[ "$WIDTH x $HEIGHT" = "1280 x 1024" ] || fail "--fullscreen gave $WIDTH x $HEIGHT"
echo "PASS: flags, audience window and feed at the venue"
