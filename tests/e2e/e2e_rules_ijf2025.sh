#!/usr/bin/env bash
# Under --rules ijf2025, followed on the live feed: a hold gives yuko at 5 s,
# waza-ari at 10 s (the yuko back to 0) and ippon at 20 s; one yuko against
# none wins at time out, the hold's time staying shown after toketa; a
# level contest goes to golden score, where a 5 s hold ends it with yuko;
# a third shido taken back with a right click clears the winner.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/feed.sh"

need_tools curl node
start_display

# Each contest on a board of its own, so that none inherits another's marks.
fresh_board() {
    if [ -n "${BOARD_PID:-}" ]; then
        kill "$BOARD_PID" 2>/dev/null || true
        wait "$BOARD_PID" 2>/dev/null || true
    fi
    PORT=$((20000 + RANDOM % 20000))
    BOARD_TITLE='^Zembrak — IJF 2025$' start_board --rules ijf2025 --feed "127.0.0.1:$PORT"
    feed_up
}
# The fields named, from one snapshot, on one line.
read_state() {
    state | node -e 'const s = JSON.parse(require("fs").readFileSync(0, "utf8"));
        console.log(process.argv.slice(1).map(p => JSON.stringify(eval("s" + p))).join(" "));' "$@"
}

fresh_board
[ "$(field '["rules"]')" = '"ijf2025"' ] || fail "the feed does not tell the set: $(state)"
[ "$(field '["clock"]')" = '"4:00"' ] || fail "the set's 4:00 is not on the clock: $(state)"

# 1. One hold through every score it can earn. Each look checks one snapshot.
xdotool key --window "$WINDOW" period 3 0 Return s Left
deadline=$((SECONDS + 40))
seen=
while :; do
    read -r hold yuko waza_ari ippon < <(read_state '.home.hold' '.home.yuko' '.home.waza_ari' '.home.ippon')
    if [ "$ippon" = true ]; then
        [ "$hold" -ge 20 ] || fail "ippon at $hold s"
        [ "$waza_ari$yuko" = 00 ] || fail "the ippon did not replace the hold's waza-ari: $(state)"
        break
    fi
    [ "$yuko" = 1 ] && { [ "$hold" -ge 5 ] && [ "$hold" -lt 10 ] || fail "yuko shown at $hold s"; seen+=Y; }
    [ "$waza_ari" = 1 ] && { [ "$hold" -ge 10 ] && [ "$yuko" = 0 ] || fail "waza-ari at $hold s, yuko $yuko"; seen+=W; }
    [ "$hold" -ge 5 ] && [ "$yuko$waza_ari" = 00 ] && fail "nothing scored at $hold s: $(state)"
    [ $SECONDS -lt $deadline ] || fail "the hold never reached ippon: $(state)"
    sleep 0.2
done
case "$seen" in *Y*W*) ;; *) fail "yuko then waza-ari were not both seen ($seen)" ;; esac
[ "$(field '["home"]["winner"]')" = true ] || fail "the ippon named no winner: $(state)"

# 2. One yuko against none at time out; toketa leaves the hold's time shown.
fresh_board
xdotool key --window "$WINDOW" period 0 7 Return s Left
wait_for '["home"]["yuko"]' 15 1
xdotool key --window "$WINDOW" Up
sleep 1
read -r hold osaekomi < <(read_state '.home.hold' '.osaekomi')
[ "$hold" -ge 5 ] && [ "$osaekomi" = null ] || fail "after toketa the hold shows $hold, osaekomi $osaekomi"
wait_for '["home"]["winner"]' 15 true
[ "$(field '["golden_score"]')" = false ] || fail "a yuko ahead went to golden score: $(state)"

# 3. Level at time out: golden score, where a 5 s hold ends it with its yuko.
fresh_board
xdotool key --window "$WINDOW" period 0 1 Return s
wait_for '["golden_score"]' 15 true
xdotool key --window "$WINDOW" s Right
wait_for '["visitor"]["winner"]' 20 true
read -r yuko running osaekomi < <(read_state '.visitor.yuko' '.clock_running' '.osaekomi')
[ "$yuko$running$osaekomi" = 1falsenull ] || fail "the golden-score yuko did not end it all: $(state)"
screenshot rules_2025_golden_yuko

# 4. The third shido is hansoku-make; a right click takes it back, and the winner with it.
fresh_board
lamp_x=$((WIN_X + (1560 + 120 + 127) / 15))
lamp_y=$((WIN_Y + (5700 + 187) / 15))
for _ in 1 2 3; do
    xdotool mousemove "$lamp_x" "$lamp_y" click 1
    sleep 0.6
done
wait_for '["visitor"]["winner"]' 5 true
[ "$(field '["home"]["hansoku_make"]')" = true ] || fail "three shidos are no hansoku-make: $(state)"
xdotool mousemove "$lamp_x" "$lamp_y" click 3
wait_for '["visitor"]["winner"]' 5 false
read -r shidos hansoku < <(read_state '.home.shidos' '.home.hansoku_make')
[ "$shidos$hansoku" = 2false ] || fail "the take-back left shidos $shidos, hansoku-make $hansoku"
echo "PASS: ijf2025 scores yuko, waza-ari and ippon on a hold, a yuko wins at time out and in golden score, a shido's take-back clears its winner"
