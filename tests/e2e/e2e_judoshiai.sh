#!/usr/bin/env bash
# The board as the timer of the real JudoShiai: the first match's names
# from JudoShiai, a scored contest ended with N whose result JudoShiai
# stores, the second match on the board, and JudoShiai killed in the middle
# of it and started again: the link comes back and the result arrives.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/feed.sh"

here=$(cd "$(dirname "$0")" && pwd)
shared=$(cd "$here/../../.." && pwd)/shared/judoshiai
[ -x "$shared/build.sh" ] || { echo "SKIP: no JudoShiai snapshot at $shared"; exit 77; }
for tool in curl node sqlite3 ss; do
    command -v "$tool" >/dev/null || fail "$tool is needed (scripts/install-deps.sh installs it)"
done

# Built once into the build folder, beside the program.
js_out=$(cd "$(dirname "$PROGRAM")/.." && pwd)/judoshiai
JUDOSHIAI=$js_out/build/judoshiai/obj-linux/judoshiai
[ -x "$JUDOSHIAI" ] || JUDOSHIAI=$("$shared/build.sh" "$js_out") || fail "JudoShiai did not build"
# Its timers' port is fixed: another JudoShiai would answer in its place.
ss -ltn | grep -q ':2310 ' && fail "TCP 2310 is taken already"

start_display
PORT=$((20000 + RANDOM % 20000))
SHI=$WORK/js/day.shi
mkdir -p "$WORK/js"
cp "$shared/day.shi" "$SHI"
start_judoshiai() {
    JS_PID=$("$shared/run.sh" "$JUDOSHIAI" "$SHI" "$WORK/js") || fail "JudoShiai did not start"
    PIDS+=("$JS_PID")
}
result_of() {
    sqlite3 -cmd '.timeout 2000' "$SHI" \
        "select blue_score, white_score, blue_points, white_points, time from matches where category=10000 and number=$1"
}
# Waits (at most $2 seconds) until match $1 has points in JudoShiai's file.
wait_for_result() {
    local deadline=$((SECONDS + $2)) row
    while :; do
        row=$(result_of "$1" 2>/dev/null || true)
        IFS='|' read -r _ _ bp wp _ <<<"$row"
        [ "${bp:-0}${wp:-0}" != 00 ] && return 0
        [ $SECONDS -lt $deadline ] || fail "no result for match $1 in JudoShiai: '$row'; $(cat "$WORK/board.log")"
        sleep 0.2
    done
}
score_waza_ari() { # $1: the score display's left edge in twips
    # Above JudoShiai's window, which has no window manager to stay behind.
    xdotool windowraise "$WINDOW"
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
    WIN_X=$X
    WIN_Y=$Y
    xdotool mousemove $((WIN_X + $1 / 15 + 20)) $((WIN_Y + 3840 / 15 + 20)) click 1
    xdotool key --window "$WINDOW" 1
}
start_judoshiai

# 1. JudoShiai's first match on the board: White is Home, Blue is Visitor.
# Straight to the board: JudoShiai's own window may lie over a start screen.
QT_QPA_PLATFORM=xcb "$PROGRAM" --board --judoshiai 127.0.0.1 --tatami 1 --feed "127.0.0.1:$PORT" \
    >"$WORK/board.log" 2>&1 &
BOARD_PID=$!
PIDS+=("$BOARD_PID")
WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zembrak — JudoShiai' | head -n 1) ||
    fail "the board did not open: $(cat "$WORK/board.log")"
feed_up
wait_for '["tournament"]["match"]' 20 1
[ "$(field '["tournament"]["connected"]')" = true ] || fail "the feed says no link: $(state)"
[ "$(field '["home"]["name"]')" = '"JENSEN Aleksander"' ] || fail "Home is not JudoShiai's White: $(state)"
[ "$(field '["visitor"]["name"]')" = '"PERSSON Elias"' ] || fail "Visitor is not JudoShiai's Blue: $(state)"
[ "$(field '["title"]')" = '"M-73 · Pool, round 1"' ] || fail "the title is not the category and round: $(state)"
[ "$(field '["clock"]')" = '"5:00"' ] || fail "JudoShiai's contest time is not on the clock: $(state)"

# 2. A waza-ari for Home, the clock run for a while, and N.
score_waza_ari 1440
wait_for '["home"]["waza_ari"]' 10 1
xdotool key --window "$WINDOW" s
sleep 2
xdotool key --window "$WINDOW" s
wait_for '["clock_running"]' 10 false
xdotool key --window "$WINDOW" n
# No winner is lit: N asks before it records the contest as it stands.
answer_question y

# 3. JudoShiai has it: waza-ari is 1<<12 in White's score, and the time the clock ran.
wait_for_result 1 20
IFS='|' read -r blue white blue_points white_points seconds <<<"$(result_of 1)"
[ "$white" = 4096 ] && [ "$blue" = 0 ] || fail "match 1's scores are $blue/$white, not 0/4096"
[ "$white_points" -gt 0 ] && [ "$blue_points" = 0 ] || fail "match 1's points went to Blue: $(result_of 1)"
[ "$seconds" -ge 1 ] && [ "$seconds" -le 10 ] || fail "match 1 took $seconds s by JudoShiai"

# 4. The second match follows by itself.
wait_for '["tournament"]["match"]' 20 2
[ "$(field '["home"]["name"]')" = '"HÄMÄLÄINEN Veeti"' ] || fail "Home of match 2 is wrong: $(state)"
[ "$(field '["visitor"]["name"]')" = '"PERSSON Elias"' ] || fail "Visitor of match 2 is wrong: $(state)"
[ "$(field '["home"]["waza_ari"]')" = 0 ] || fail "match 1's score stayed on the board: $(state)"
screenshot judoshiai_match2

# 5. JudoShiai dies in the middle of match 2; the board goes on, N sends the
# result into the void, and JudoShiai started again gets it.
score_waza_ari 6240
wait_for '["visitor"]["waza_ari"]' 10 1
xdotool key --window "$WINDOW" s
kill -9 "$JS_PID"
wait_for '["tournament"]["connected"]' 20 false
sleep 1
xdotool key --window "$WINDOW" s
wait_for '["clock_running"]' 10 false
xdotool key --window "$WINDOW" n
answer_question y
wait_for '["tournament"]["result_pending"]' 10 true
start_judoshiai
wait_for '["tournament"]["connected"]' 40 true
wait_for_result 2 30
IFS='|' read -r blue white _ _ _ <<<"$(result_of 2)"
[ "$blue" = 4096 ] && [ "$white" = 0 ] || fail "match 2's scores are $blue/$white, not 4096/0"
wait_for '["tournament"]["match"]' 20 3
echo "PASS: JudoShiai's matches on the board, their results in JudoShiai, through a JudoShiai restart"
