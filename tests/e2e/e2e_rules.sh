#!/usr/bin/env bash
# Under --rules ijf2018 a 5 s contest that ends level goes to golden score;
# there a hold earns waza-ari at 10 s and ippon at 20 s, which ends the
# contest: the Home winner lamp lights and the buzzer is started once for
# that end. Followed on the live feed; the buzzer's starts are counted
# through the program's sound trace, not heard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/feed.sh"

need_tools curl node
if env -u DISPLAY "$PROGRAM" --rules ijf 2>"$WORK/bad.log"; then fail "--rules ijf was accepted"; else status=$?; fi
[ "$status" = 2 ] || fail "--rules ijf exited $status, not 2"
grep -q -- "--rules" "$WORK/bad.log" || fail "no word on the bad --rules: $(cat "$WORK/bad.log")"

start_display
PORT=$((20000 + RANDOM % 20000))
export ZEMBRAK_SOUND_TRACE="$WORK/sound.trace"
BOARD_TITLE='^Zembrak — IJF 2018$' start_board --rules ijf2018 --feed "127.0.0.1:$PORT"

buzzes() { grep -c '^play$' "$ZEMBRAK_SOUND_TRACE" 2>/dev/null || true; }
feed_up
[ "$(field '["rules"]')" = '"ijf2018"' ] || fail "the feed does not tell the set: $(state)"
[ "$(field '["clock"]')" = '"4:00"' ] || fail "the set's 4:00 is not on the clock: $(state)"

# A 5 s contest, typed on the clock, run to its end with no score.
xdotool key --window "$WINDOW" period 0 5 Return s
wait_for '["golden_score"]' 20 true
[ "$(field '["clock"]')" = '"0:00"' ] || fail "golden score does not start at 0:00: $(state)"
[ "$(field '["home"]["winner"]')$(field '["visitor"]["winner"]')" = falsefalse ] || fail "a level end named a winner"
[ "$(buzzes)" = 1 ] || fail "the end of the time buzzed $(buzzes) times"
screenshot rules_golden_score

# Golden score: the clock counts up, and a Home hold runs. Every look at the
# feed checks one snapshot: no waza-ari before the hold shows 10 s, none
# missing after; no ippon before 20 s; the ippon ends it all.
xdotool key --window "$WINDOW" s Left
deadline=$((SECONDS + 45))
saw_waza_ari=
while :; do
    snapshot=$(state)
    read -r hold waza_ari ippon winner running osaekomi < <(node -e '
        const s = JSON.parse(require("fs").readFileSync(0, "utf8"));
        console.log(s.home.hold, s.home.waza_ari, s.home.ippon, s.home.winner, s.clock_running, s.osaekomi);' \
        <<<"$snapshot")
    if [ "$ippon" = true ]; then
        [ "$hold" -ge 20 ] || fail "ippon at $hold s: $snapshot"
        [ "$winner$running$osaekomi" = truefalsenull ] || fail "the ippon did not end the contest: $snapshot"
        break
    fi
    [ "$hold" -le 20 ] || fail "no ippon at $hold s: $snapshot"
    [ "$waza_ari" = 1 ] && { [ "$hold" -ge 10 ] || fail "waza-ari at $hold s: $snapshot"; saw_waza_ari=yes; }
    [ "$waza_ari" = 0 ] && [ "$hold" -gt 10 ] && fail "no waza-ari at $hold s: $snapshot"
    [ $SECONDS -lt $deadline ] || fail "the hold never reached ippon: $snapshot"
    sleep 0.2
done
[ -n "$saw_waza_ari" ] || fail "the waza-ari at 10 s was never seen"
sleep 1
[ "$(buzzes)" = 2 ] || fail "the ippon's end buzzed $(( $(buzzes) - 1 )) times"
screenshot rules_ippon
echo "PASS: ijf2018 goes to golden score, a hold scores waza-ari and ippon, the winner lights, one buzz"
