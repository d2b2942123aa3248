#!/usr/bin/env bash
# The operator rebinds start/stop to T in the real dialog, by clicking its
# button and pressing T; T then runs the clock and S no longer does.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options.sh"

start_display
start_board
clock=(3398 1500 2685 1140)

xdotool key F2
find_dialog Options
# "Start / Stop Contest Clock": 360, 600, 1695 x 495 inside the tab control at 120, 120.
xdotool mousemove $((DIALOG_X + (120 + 360 + 847) / 15)) $((DIALOG_Y + (120 + 600 + 247) / 15)) click 1
find_dialog "Choose Key"
screenshot choose_key
xdotool key t
wait_closed "Choose Key"
find_dialog Options
xdotool key Return
wait_closed Options
[ "$(stored KeySettings StartStopPeriodClockKey)" = 84 ] ||
    fail "the new key was not stored: $(stored KeySettings StartStopPeriodClockKey)"

focus_board
grab_region before "${clock[@]}"
xdotool key s
sleep 1.3
grab_region after_s "${clock[@]}"
differs before after_s && fail "S still starts the clock"

xdotool key t
sleep 1.3
grab_region after_t "${clock[@]}"
differs before after_t || fail "T did not start the clock"
xdotool key t
sleep 0.2
grab_region stopped1 "${clock[@]}"
sleep 1.2
grab_region stopped2 "${clock[@]}"
differs stopped1 stopped2 && fail "T did not stop the clock"

# On a German keyboard the key right of P prints ü; it binds as the key in
# that place on a US keyboard, "[" (219).
setxkbmap -layout de
focus_board
xdotool key F2
find_dialog Options
# "Reset Contest Clock": 360, 1320, 1695 x 495.
xdotool mousemove $((DIALOG_X + (120 + 360 + 847) / 15)) $((DIALOG_Y + (120 + 1320 + 247) / 15)) click 1
find_dialog "Choose Key"
xdotool key udiaeresis
wait_closed "Choose Key"
find_dialog Options
xdotool key Return
wait_closed Options
[ "$(stored KeySettings ResetPeriodClockKey)" = 219 ] ||
    fail "ü was stored as $(stored KeySettings ResetPeriodClockKey), not 219"
focus_board
xdotool key udiaeresis
sleep 0.3
grab_region reset "${clock[@]}"
differs before reset && fail "ü did not reset the clock"
echo "PASS: keys rebound in the dialog, a letter and a German ü, drive the clock"
