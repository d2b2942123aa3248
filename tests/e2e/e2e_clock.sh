#!/usr/bin/env bash
# The operator starts the contest clock with S and sees it run; R puts 2:00 back.
# The running clock and hold cost the X server no round trip.
source "$(dirname "$0")/lib.sh"

start_display
start_board
screenshot clock_start
clock=(3398 1500 2685 1140)

grab_region clock_before "${clock[@]}"
xdotool key --window "$WINDOW" s
sleep 2.3
grab_region clock_running "${clock[@]}"
differs clock_before clock_running || fail "the clock did not change after S"

# With a hold running too, each second repaints a digit of each without a
# round trip to the X server: the thread that reads the server's events
# sleeps throughout.
xdotool key --window "$WINDOW" Left
sleep 1
reader=$(grep -lx QXcbEventQueue /proc/"$BOARD_PID"/task/*/comm) || fail "no X event thread in the board"
reader=$(dirname "$reader")
woken() { awk '/ctxt_switches/ { s += $2 } END { print s }' "$reader/status"; }
before=$(woken)
sleep 4
after=$(woken)
[ $((after - before)) -le 1 ] ||
    fail "the X event thread woke $((after - before)) times in 4 s of a running clock and hold"
xdotool key --window "$WINDOW" Left

xdotool key --window "$WINDOW" s r
sleep 0.3
grab_region clock_reset "${clock[@]}"
differs clock_before clock_reset && fail "R did not put the clock back at 2:00"
screenshot clock_end
echo "PASS: the clock runs on S and resets on R"
