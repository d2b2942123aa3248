#!/usr/bin/env bash
# The board keeps the display awake: with a 2-second screen saver, the
# saver stays off after 5 idle seconds while Zembrak runs, and comes on
# again once it has quit.
source "$(dirname "$0")/lib.sh"

SAVER_STATE="$(dirname "$PROGRAM")/saver_state"
[ -x "$SAVER_STATE" ] || fail "the saver_state helper was not built"

start_display
# Holds the server's settings: it resets them when its last client leaves.
"$SAVER_STATE" hold &
PIDS+=($!)
sleep 0.3
xset s 2

start_board
sleep 5
state=$("$SAVER_STATE")
[ "${state%% *}" != "on" ] || fail "the screen saver came on while the board ran: $state"

kill "$BOARD_PID" 2>/dev/null || true
wait "$BOARD_PID" 2>/dev/null || true
# The server counts the idle time afresh from the release; give it a while.
for _ in $(seq 20); do
    sleep 0.5
    state=$("$SAVER_STATE")
    [ "${state%% *}" = "on" ] && break
done
[ "${state%% *}" = "on" ] || fail "the screen saver did not come back after the board quit: $state"
echo "PASS: the screen saver stays off while the board runs and returns after"
