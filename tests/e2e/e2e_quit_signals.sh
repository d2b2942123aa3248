#!/usr/bin/env bash
# A quit by signal never waits for the operator: SIGTERM while "Restore the
# contest ...?" is open keeps the saved contest for the next start, and
# SIGTERM or SIGHUP with a results file that cannot be written ends the
# program, the reason on stderr, with no dialog left standing.
source "$(dirname "$0")/lib.sh"

start_display
DATA="$XDG_DATA_HOME/Zembrak/Zembrak"
mkdir -p "$DATA"

run_board() {
    QT_QPA_PLATFORM=xcb "$PROGRAM" --board "$@" >"$WORK/board.log" 2>&1 &
    BOARD_PID=$!
    PIDS+=("$BOARD_PID")
}

# Waits (at most 10 s) for $1 visible windows named Zembrak.
windows() {
    for _ in $(seq 100); do
        [ "$(xdotool search --onlyvisible --name '^Zembrak' 2>/dev/null | wc -l)" -ge "$1" ] && return 0
        sleep 0.1
    done
    fail "$1 windows did not appear: $(cat "$WORK/board.log")"
}

ends() {
    for _ in $(seq 100); do
        kill -0 "$BOARD_PID" 2>/dev/null || { wait "$BOARD_PID" 2>/dev/null || true; return 0; }
        sleep 0.1
    done
    fail "$1: the program lives on: $(cat "$WORK/board.log")"
}

# 1. The signal at the restore question.
printf '%s' '{"clock_ran":true,"golden_score":false,"hold_home":{"running":false,"ticks":0},"hold_visitor":{"running":false,"ticks":0},"home":"Kim","marks":{"ippon":0,"med_home":0,"med_visitor":0,"penalties":[false,false,false,false,false,false],"scores":[1,0,0,0,0,0],"shido_home":0,"shido_visitor":0,"winner":0},"match_index":0,"period":{"running":true,"ticks":600000},"rules":"design","title":"Pool A","version":1,"visitor":"Lee"}' \
    >"$DATA/contest.json"
cp "$DATA/contest.json" "$WORK/crashed.json"
run_board
windows 2 # the board and the question
sleep 0.5
kill -TERM "$BOARD_PID"
ends "SIGTERM at the question"
cmp -s "$DATA/contest.json" "$WORK/crashed.json" ||
    fail "the crashed contest did not outlive a quit at the question: $(cat "$DATA/contest.json" 2>&1)"

# 2. A results file that cannot be written, at a quit by SIGTERM (a FIFO)
#    and by SIGHUP (a folder), after a contest in which the clock ran.
rm "$DATA/contest.json"
mkfifo "$WORK/results.fifo"
mkdir "$WORK/results.folder"
for case in "TERM results.fifo FIFO" "HUP results.folder folder"; do
    read -r signal file kind <<<"$case"
    run_board --results "$WORK/$file"
    windows 1
    sleep 0.5
    WINDOW=$(xdotool search --onlyvisible --name '^Zembrak' | head -n 1)
    xdotool key --window "$WINDOW" s
    sleep 1.2
    kill "-$signal" "$BOARD_PID"
    ends "SIG$signal with the results file a $kind"
    grep -q "a $kind" "$WORK/board.log" || fail "SIG$signal: stderr does not name the $kind: $(cat "$WORK/board.log")"
    grep -q "the result line for" "$WORK/board.log" || fail "SIG$signal: the line is not on stderr: $(cat "$WORK/board.log")"
done
[ -p "$WORK/results.fifo" ] || fail "the FIFO was replaced"
echo "PASS: signals end the program without a dialog and keep a crashed contest"
