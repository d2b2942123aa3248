#!/usr/bin/env bash
# A slow disk never holds the board: with every fsync and fdatasync made
# 1 s slow (an LD_PRELOAD shim), the clock on the feed keeps to the wall
# clock while a contest runs, marks change and N moves on; closing the
# board still writes the result line and removes the saved contest.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/feed.sh"

command -v node >/dev/null || fail "node is needed (scripts/install-deps.sh installs it)"
SHIM=${SLOW_SYNC:-$(dirname "$PROGRAM")/../tests/libslow_sync.so}
[ -f "$SHIM" ] || fail "the slow-disk shim $SHIM is not built"
CLOSE_WINDOW="$(dirname "$PROGRAM")/close_window"
start_display
PORT=$((20000 + RANDOM % 20000))
DATA="$XDG_DATA_HOME/Zembrak/Zembrak"
printf 'Kim,Lee,Pool A,0:30\nOno,Riner,Final,0:30\n' >"$WORK/day.csv"

# The shim goes to the program alone.
# A sanitizer build wants its runtime first among the preloaded libraries.
ASAN_RUNTIME=$(ldd "$PROGRAM" | awk '/libasan/ { print $3 }')
PRELOAD=${ASAN_RUNTIME:+$ASAN_RUNTIME:}$SHIM
# The preload reaches the helpers the start runs too (xdotool), whose own
# leaks are not ours to report; the other runs check the board's.
[ -z "$ASAN_RUNTIME" ] || export ASAN_OPTIONS=detect_leaks=0
LD_PRELOAD=$PRELOAD SLOW_SYNC_MS=1000 BOARD_TITLE='^Zembrak — Match 1 of 2$' \
    start_board --matches "$WORK/day.csv" --feed "127.0.0.1:$PORT"
feed_up

follow_feed
# And /state asked every 100 ms: how long each answer took.
(while [ ! -e "$WORK/stop" ]; do
    curl -s -o /dev/null --max-time 5 -w '%{time_total}\n' "http://127.0.0.1:$PORT/state" || echo 5
    sleep 0.1
done) >"$WORK/answers.log" &
POLLER=$!
PIDS+=($POLLER)
sleep 0.5

mark_home_waza_ari() {
    xdotool mousemove $((WIN_X + 1440 / 15 + 20)) $((WIN_Y + 3840 / 15 + 20)) click 1
    xdotool key --window "$WINDOW" "$1"
}
xdotool key --window "$WINDOW" s
sleep 2
mark_home_waza_ari 1
sleep 1.5
mark_home_waza_ari 0
sleep 2.5
xdotool key --window "$WINDOW" n
answer_question y
wait_for '["match"]["index"]' 10 2
xdotool key --window "$WINDOW" s
sleep 2
mark_home_waza_ari 1
sleep 3
# The close itself waits for the disk, as a quit may; the asking ends first.
touch "$WORK/stop"
wait "$POLLER" || true
"$CLOSE_WINDOW" "$WINDOW"
started=$SECONDS
for _ in $(seq 100); do kill -0 "$BOARD_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$BOARD_PID" 2>/dev/null && fail "the board did not end after its close"
echo "the board ended $((SECONDS - started)) s after its close"

# Each contest's second changes, against when they arrived: the spread of
# the lateness is how far the clock strayed from the wall clock.
awk '$4 == "true" && ($2 != index_ || $3 != last) {
        if ($2 != index_) { n = 0 }
        split($3, t, ":"); late = $1 + 1000 * (60 * t[1] + t[2]); index_ = $2; last = $3; n++; total++
        if (n == 1) { low[$2] = late; high[$2] = late }
        if (late < low[$2]) low[$2] = late
        if (late > high[$2]) high[$2] = late
    }
    END { worst = 0; for (i in low) if (high[i] - low[i] > worst) worst = high[i] - low[i]; printf "%d %d\n", total, worst }' \
    "$WORK/clock.log" >"$WORK/spread"
read -r changes spread <"$WORK/spread"
echo "clock: $changes changes, lateness spread $spread ms"
[ "$changes" -ge 10 ] || fail "the feed saw the clock change only $changes times: $(cat "$WORK/clock.log")"
[ "$spread" -le "${E2E_TIME_SLACK_MS:-100}" ] || fail "the clock strayed $spread ms from the wall clock: $(cat "$WORK/clock.log")"
slowest=$(sort -g "$WORK/answers.log" | tail -n 1)
echo "/state: $(wc -l <"$WORK/answers.log") answers, the slowest in $slowest s"
awk -v s="$slowest" 'BEGIN { exit !(s < 0.5) }' || fail "/state waited on the disk: $slowest s"

[ "$(wc -l <"$DATA/results.csv")" = 3 ] || fail "not a header and two lines: $(cat "$DATA/results.csv")"
[ -e "$DATA/contest.json" ] && fail "the saved contest outlived the close"
grep -q "not finished" "$WORK/board.log" && fail "the close gave up on the disk: $(cat "$WORK/board.log")"
echo "PASS: a disk 1 s slow to sync held neither the clock nor /state"
