#!/usr/bin/env bash
# The operator starts the contest clock with S and sees it run; R puts 2:00 back.
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

xdotool key --window "$WINDOW" s r
sleep 0.3
grab_region clock_reset "${clock[@]}"
differs clock_before clock_reset && fail "R did not put the clock back at 2:00"
screenshot clock_end
echo "PASS: the clock runs on S and resets on R"
