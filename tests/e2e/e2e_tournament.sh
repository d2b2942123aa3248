#!/usr/bin/env bash
# A tournament day: --matches with three contests, N moving through them
# with /state following; a contest with a score, then N, leaves one line
# with that score in results.csv; kill -9 with the clock running, then a
# restart answered Yes puts the same marks back with the clock stopped
# within 5 s of where it was.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/feed.sh"

need_tools curl node
start_display
PORT=$((20000 + RANDOM % 20000))
RESULTS="$XDG_DATA_HOME/Zembrak/Zembrak/results.csv"
printf 'home;visitor;title;time\n"Ono, S.";Riner;Pool A;3:00\nKim;Lee;Pool B;\nMüller;Sato;Final;4:00\n' >"$WORK/day.csv"

# 1. The list on the board, and N through it.
BOARD_TITLE='^Zembrak — Match 1 of 3$' start_board --matches "$WORK/day.csv" --feed "127.0.0.1:$PORT"
feed_up
[ "$(field '["match"]["index"]')/$(field '["match"]["count"]')" = 1/3 ] || fail "the feed does not tell the list: $(state)"
[ "$(field '["home"]["name"]')" = '"Ono, S."' ] || fail "the first contest is not on the board: $(state)"
[ "$(field '["clock"]')" = '"3:00"' ] || fail "the contest's own 3:00 is not on the clock: $(state)"
xdotool key --window "$WINDOW" n
wait_for '["match"]["index"]' 10 2
[ "$(field '["visitor"]["name"]')" = '"Lee"' ] || fail "N did not bring Kim and Lee: $(state)"
[ -e "$RESULTS" ] && fail "a contest in which nothing happened left a line: $(cat "$RESULTS")"

# 2. A waza-ari for Kim, then N: one line, with that score.
xdotool mousemove $((WIN_X + 1440 / 15 + 20)) $((WIN_Y + 3840 / 15 + 20)) click 1
xdotool key --window "$WINDOW" 1
wait_for '["home"]["waza_ari"]' 10 1
xdotool key --window "$WINDOW" n
# Undecided: N asks first; Y records it as it stands.
question=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak$' | head -n 1) || fail "N did not ask"
xdotool windowfocus --sync "$question" 2>/dev/null || true
sleep 0.5
xdotool key y
wait_for '["match"]["index"]' 10 3
[ "$(field '["home"]["waza_ari"]')" = 0 ] || fail "N did not clear the score: $(state)"
# The line is written off the board's thread, a moment later.
for _ in $(seq 50); do [ "$(wc -l <"$RESULTS" 2>/dev/null)" = 2 ] && break; sleep 0.1; done
[ "$(wc -l <"$RESULTS")" = 2 ] || fail "results.csv is not a header and one line: $(cat "$RESULTS")"
tail -n 1 "$RESULTS" | grep -q ',Pool B,Kim,Lee,1,0,0,' || fail "the line lacks Kim's waza-ari: $(tail -n 1 "$RESULTS")"
screenshot tournament_final

# 3. The final under way: a shido lamp and the clock running, then kill -9.
xdotool key --window "$WINDOW" s
sleep 3
xdotool mousemove $((WIN_X + 2640 / 15 + 15)) $((WIN_Y + 5700 / 15 + 10)) click 1
wait_for '["home"]["chui"]' 10 true
sleep 1
before=$(field '["clock"]')
kill -9 "$BOARD_PID"
wait "$BOARD_PID" 2>/dev/null || true
[ -s "$XDG_DATA_HOME/Zembrak/Zembrak/contest.json" ] || fail "no contest was saved"

WINDOW=
start_splash --feed "127.0.0.1:$PORT"
xdotool mousemove --window "$SPLASH" 200 40 click 1
question=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zembrak$' | grep -v "^$SPLASH$" | tail -n 1) || true
sleep 1
# Yes is the default button.
xdotool key Return
feed_up
wait_for '["home"]["chui"]' 10 true
[ "$(field '["home"]["name"]')" = '"Müller"' ] || fail "the names did not come back: $(state)"
[ "$(field '["match"]["index"]')" = 3 ] || fail "the list position did not come back: $(state)"
[ "$(field '["clock_running"]')" = false ] || fail "the clock runs after the restore: $(state)"
after=$(field '["clock"]')
seconds() { local t=${1//\"/}; echo $((10#${t%%:*} * 60 + 10#${t##*:})); }
gap=$(($(seconds "$before") - $(seconds "$after")))
[ "$gap" -ge -5 ] && [ "$gap" -le 5 ] || fail "the clock came back at $after, from $before"
# 4. SIGTERM is a clean quit: the final's line, and no saved contest left.
kill "$BOARD_PID"
wait "$BOARD_PID" 2>/dev/null || true
[ -e "$XDG_DATA_HOME/Zembrak/Zembrak/contest.json" ] && fail "the saved contest outlived a clean quit"
tail -n 1 "$RESULTS" | grep -q ',Final,Müller,Sato,0,0,0,C,' || fail "no line for the final: $(cat "$RESULTS")"
echo "PASS: N moves through the list, the result line is written, a killed contest comes back"
