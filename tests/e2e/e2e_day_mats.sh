#!/usr/bin/env bash
# Two mats on one PC: each board keeps its own results file and saved
# contest; a second start for a mat that runs exits 2, naming the process,
# and the first keeps its contest, and a lock left by kill -9 is taken over;
# N on a running contest asks first, and No (the default) keeps everything.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/feed.sh"

need_tools curl node
start_display
DATA="$XDG_DATA_HOME/Zembrak/Zembrak/mats"
printf 'A,B,Pool,3:00\nC,D\n' >"$WORK/day.csv"
PORT_A=$((20000 + RANDOM % 20000))
PORT_B=$((PORT_A + 1))

# Starts the board of mat $1 with its feed on port $2; sets WINDOW_$1 and PID_$1.
start_mat() {
    QT_QPA_PLATFORM=xcb "$PROGRAM" --board --mat "$1" --matches "$WORK/day.csv" --feed "127.0.0.1:$2" \
        >"$WORK/mat-$1.log" 2>&1 &
    local pid=$! window
    PIDS+=("$pid")
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Zembrak — Mat $1 — Match 1 of 2\$" |
        head -n 1) || fail "mat $1 did not open: $(cat "$WORK/mat-$1.log")"
    eval "PID_$1=$pid WINDOW_$1=$window"
}
key() { xdotool windowfocus --sync "$1" 2>/dev/null || true; xdotool key --window "$1" "$2"; }
# Types $2 into Home's waza-ari on the board $1.
score() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + 1440 / 15 + 20)) $((Y + 3840 / 15 + 20)) click 1
    key "$1" "$2"
}

start_mat A "$PORT_A"
PORT=$PORT_A feed_up
[ "$(PORT=$PORT_A field '["mat"]')" = '"A"' ] || fail "the feed does not name mat A: $(PORT=$PORT_A state)"
[ "$(PORT=$PORT_A field '["title"]')" = '"Pool · 1/2"' ] || fail "no match number on the board: $(PORT=$PORT_A state)"

# 1. A second start for mat A exits 2 before any window, naming the first.
score "$WINDOW_A" 1
PORT=$PORT_A wait_for '["home"]["waza_ari"]' 10 1
set +e
timeout 20 env QT_QPA_PLATFORM=xcb "$PROGRAM" --board --mat A >"$WORK/second.log" 2>&1
code=$?
set -e
[ "$code" = 2 ] || fail "a second board for mat A ended with $code: $(cat "$WORK/second.log")"
grep -qF "Zembrak is already running for mat A (process $PID_A)" "$WORK/second.log" ||
    fail "the second start did not name the first: $(cat "$WORK/second.log")"
[ "$(PORT=$PORT_A field '["home"]["waza_ari"]')" = 1 ] || fail "mat A lost its contest: $(PORT=$PORT_A state)"
sleep 1

# 2. N on a running contest asks; No (Enter) keeps the contest and the clock.
key "$WINDOW_A" s
PORT=$PORT_A wait_for '["clock_running"]' 10 true
key "$WINDOW_A" n
question=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak$' | head -n 1) ||
    fail "N on a running contest did not ask"
xdotool windowfocus --sync "$question" 2>/dev/null || true
sleep 0.5
xdotool key Return
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Zembrak$' >/dev/null 2>&1 || break
    sleep 0.1
done
[ "$(PORT=$PORT_A field '["match"]["index"]')" = 1 ] || fail "No went on: $(PORT=$PORT_A state)"
[ "$(PORT=$PORT_A field '["clock_running"]')" = true ] || fail "No stopped the clock: $(PORT=$PORT_A state)"
[ "$(PORT=$PORT_A field '["home"]["waza_ari"]')" = 1 ] || fail "No lost the score: $(PORT=$PORT_A state)"

# 3. Mat B beside it, on its own files; a clean quit of each writes its own results.
start_mat B "$PORT_B"
PORT=$PORT_B feed_up
score "$WINDOW_B" 2
PORT=$PORT_B wait_for '["home"]["waza_ari"]' 10 2
sleep 1
[ -s "$DATA/A/contest.json" ] && [ -s "$DATA/B/contest.json" ] || fail "each mat does not save its own contest"
grep -q '"scores":\[1,' "$DATA/A/contest.json" || fail "mat A's saved contest is not its own"
grep -q '"scores":\[2,' "$DATA/B/contest.json" || fail "mat B's saved contest is not its own"
kill "$PID_A" "$PID_B"
wait "$PID_A" "$PID_B" 2>/dev/null || true
grep -q ',Pool,A,B,1,' "$DATA/A/results.csv" || fail "mat A's results: $(cat "$DATA/A/results.csv" 2>&1)"
grep -q ',Pool,A,B,2,' "$DATA/B/results.csv" || fail "mat B's results: $(cat "$DATA/B/results.csv" 2>&1)"
[ -e "$DATA/A/contest.json" ] || [ -e "$DATA/B/contest.json" ] && fail "a saved contest outlived a clean quit"
# 4. A board killed outright leaves its lock to the next start.
start_mat A "$PORT_A"
kill -9 "$PID_A"
wait "$PID_A" 2>/dev/null || true
start_mat A "$PORT_A"
echo "PASS: one board per mat, each with its own files, and N asks before it records an undecided contest"
