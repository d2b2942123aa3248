#!/usr/bin/env bash
# Files that must never hold the board: a manual of huge text, a FIFO where
# the manual belongs, and a FIFO as the settings store when Options is
# confirmed. The clock, as the live feed reports it, keeps to the wall clock
# within 100 ms while each is opened (more under the sanitizers). Help
# opened from the start screen and closed leaves the start screen; the board
# closed under an open manual ends the program cleanly.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options.sh"
source "$(dirname "$0")/feed.sh"

CLOSE_WINDOW="$(dirname "$PROGRAM")/close_window"
[ -x "$CLOSE_WINDOW" ] || fail "the close_window helper was not built"
command -v node >/dev/null || fail "node is needed to follow the feed (scripts/install-deps.sh installs it)"
command -v curl >/dev/null || fail "curl is needed (scripts/install-deps.sh installs it)"

# A copy of the program in a folder of its own, so that the test chooses its manual.
mkdir -p "$WORK/bin"
cp "$PROGRAM" "$(dirname "$PROGRAM")/zembrakhelpfile.rtf" "$WORK/bin/"
PROGRAM="$WORK/bin/zembrak"
MANUAL="$WORK/bin/zembrakhelpfile.rtf"

# One paragraph of short words at one size.
words() {
    awk -v size="$1" -v count="$2" 'BEGIN {
        printf "{\\rtf1\\ansi\\fs%s ", size
        for (i = 0; i < count; i++) printf "%s", (i % 2 ? "b " : "a ")
        printf "}"
    }' >"$MANUAL.new"
    mv "$MANUAL.new" "$MANUAL"
}

mkdir -p "$(dirname "$STORE")"
mkfifo "$STORE"
start_display
PORT=$((20000 + RANDOM % 20000))
start_splash --feed "127.0.0.1:$PORT"

# Help from the start screen (its button at 3120, 2520 twips in the frame at
# 120, 0), closed by its close box: the start screen stays and leads on.
xdotool mousemove --window "$SPLASH" $(((120 + 3120 + 600) / 15)) $(((2520 + 180) / 15)) click 1
HELP=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak Help$' | head -n 1) ||
    fail "Help did not open from the start screen"
"$CLOSE_WINDOW" "$HELP"
wait_closed "Zembrak Help"
sleep 0.5
kill -0 "$BOARD_PID" 2>/dev/null || fail "closing the help window ended the program: $(cat "$WORK/board.log")"
xdotool search --onlyvisible --name '^Zembrak$' | grep -qx "$SPLASH" || fail "the start screen went with the help window"
click_through_splash

follow_feed
sleep 0.5
focus_board
xdotool key --window "$WINDOW" s
sleep 1.5

# F1 with each file in the manual's place, then the close box.
open_help() {
    focus_board
    xdotool key --window "$WINDOW" F1
    HELP=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak Help$' | head -n 1) ||
        fail "F1 did not open the help window with $1"
    sleep 1.5
    "$CLOSE_WINDOW" "$HELP"
    wait_closed "Zembrak Help"
}
words 1000 40000
open_help "40 000 words at 500 pt"
words 100 200000
open_help "200 000 words at 50 pt"
rm "$MANUAL"
mkfifo "$MANUAL"
open_help "a FIFO"

# Options confirmed over a FIFO store: the warning comes, and goes with Enter.
focus_board
xdotool key --window "$WINDOW" F2
find_dialog Options
xdotool key --window "$DIALOG" Return
sleep 1
xdotool key Return
wait_closed Options
sleep 1.5
grep -q "the settings cannot be saved" "$WORK/board.log" || fail "OK did not reach the store: $(cat "$WORK/board.log")"
[ -p "$STORE" ] || fail "the FIFO store was replaced"
kill "$FOLLOW"

# Each second's change, against when it arrived: the spread of the lateness
# is how far the clock strayed from the wall clock while the files opened.
awk '$4 == "true" && $3 != last {
        split($3, t, ":"); late = $1 + 1000 * (60 * t[1] + t[2]); last = $3; n++
        if (n == 1 || late < low) low = late
        if (n == 1 || late > high) high = late
    }
    END { printf "%d %d\n", n, high - low }' "$WORK/clock.log" >"$WORK/spread"
read -r changes spread <"$WORK/spread"
echo "clock: $changes changes, lateness spread $spread ms"
[ "$changes" -ge 8 ] || fail "the feed saw the clock change only $changes times: $(cat "$WORK/clock.log")"
[ "$spread" -le "${E2E_TIME_SLACK_MS:-100}" ] || fail "the clock strayed $spread ms from the wall clock: $(cat "$WORK/clock.log")"

# The board closed under an open manual ends the program, with status 0.
words 24 100
focus_board
xdotool key --window "$WINDOW" F1
timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak Help$' >/dev/null || fail "F1 did not open help"
"$CLOSE_WINDOW" "$WINDOW"
for _ in $(seq 50); do kill -0 "$BOARD_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$BOARD_PID" 2>/dev/null && fail "the program runs on after its board closed"
wait "$BOARD_PID" || fail "the program ended with status $? after its board closed"
echo "PASS: the clock keeps time while the manual and the store are opened; help closes without ending the run"
