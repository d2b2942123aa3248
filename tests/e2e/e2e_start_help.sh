#!/usr/bin/env bash
# A run begins at the start screen, placed by its own rule; a click leads to
# the board, F1 opens the manual beside it, and the clock runs on meanwhile.
source "$(dirname "$0")/lib.sh"

start_display
start_splash
import -window "$SPLASH" "$OUT/start_screen.png"

# On the 1280 x 1024 screen: left (19200 - 6240) / 2 twips, top
# (15360 - 5880) / 2 twips, 6240 x 3240 twips in all.
[ "$SPLASH_X,$SPLASH_Y,$SPLASH_W,$SPLASH_H" = "432,316,416,216" ] ||
    fail "the start screen stands at $SPLASH_X,$SPLASH_Y size ${SPLASH_W}x$SPLASH_H"

click_through_splash
clock=(3398 1500 2685 1140)
xdotool key --window "$WINDOW" s

xdotool key --window "$WINDOW" F1
HELP=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak Help$' | head -n 1) ||
    fail "F1 did not open the manual"
# The operator moves the manual off the board to watch the clock.
xdotool windowmove --sync "$HELP" 660 0
sleep 0.3
import -window "$HELP" "$OUT/help.png"

grab_region clock_help_1 "${clock[@]}"
sleep 1.3
grab_region clock_help_2 "${clock[@]}"
differs clock_help_1 clock_help_2 || fail "the clock stopped while the manual was open"

# Back on the board its keys still work: S stops the clock.
xdotool windowfocus --sync "$WINDOW"
xdotool key --window "$WINDOW" s
sleep 0.3
grab_region clock_stopped_1 "${clock[@]}"
sleep 1.3
grab_region clock_stopped_2 "${clock[@]}"
differs clock_stopped_1 clock_stopped_2 && fail "S on the board did not stop the clock"
xdotool search --onlyvisible --name '^Zembrak Help$' >/dev/null || fail "the manual closed"
echo "PASS: start screen, board, manual beside a running clock"
