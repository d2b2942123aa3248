#!/usr/bin/env bash
# A kiosk's bare X session, with no window manager to hand the keyboard
# about: a right click on the start screen opens the board, and keys typed
# (not sent to a window) reach it at once, and again after the options
# dialog, the manual and the key chooser close. On a 1920 x 1080 board the title and
# long names show whole, on one line.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options.sh"

start_display 1920x1080
mkdir -p "$(dirname "$STORE")"
printf '[TextSettings]\nTitleText=%s\nHomeText=%s\nVisitorText=%s\n' \
    "WORLD JUDO CHAMPIONSHIPS!" "ARGVELASHVILI" "TANAKA Hiroshi (JPN)" >"$STORE"
clock=(3398 1500 2685 1140)

# Whether the contest clock moves over a second and a half.
clock_runs() {
    grab_region run_1 "${clock[@]}"
    sleep 1.5
    grab_region run_2 "${clock[@]}"
    differs run_1 run_2
}

start_splash
open_board_from_splash 3
sleep 1
xdotool key s
clock_runs || fail "the board did not have the keyboard when it opened"
xdotool key s
sleep 0.3
clock_runs && fail "S did not stop the clock"

# Options, closed with Escape: the board has the keyboard again.
xdotool key F2
timeout 10 xdotool search --sync --onlyvisible --name '^Options$' >/dev/null || fail "F2 opened no options"
sleep 0.5
xdotool key Escape
wait_closed Options
sleep 1
xdotool key s
clock_runs || fail "the board did not get the keyboard back from the options dialog"
xdotool key s

# The manual, closed by its close box, gives the keyboard back too.
xdotool key F1
HELP=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak Help$' | head -n 1) || fail "F1 opened no help"
sleep 0.5
"$(dirname "$PROGRAM")/close_window" "$HELP"
wait_closed "Zembrak Help"
sleep 1
xdotool key s
clock_runs || fail "the board did not get the keyboard back from the help window"
xdotool key s

# The key chooser gives the keyboard back to the options dialog, whose OK
# (Enter) then gives it back to the board: T now runs the clock.
xdotool key F2
DIALOG=$(timeout 10 xdotool search --sync --onlyvisible --name '^Options$' | head -n 1) ||
    fail "F2 opened no options"
sleep 0.5
board=$WINDOW # the geometry below sets WINDOW too
eval "$(xdotool getwindowgeometry --shell "$DIALOG")"
WINDOW=$board
# "Start / Stop Contest Clock": 360, 600, 1695 x 495 inside the tab control at 120, 120.
xdotool mousemove $((X + (120 + 360 + 847) / 15)) $((Y + (120 + 600 + 247) / 15)) click 1
timeout 10 xdotool search --sync --onlyvisible --name '^Choose Key$' >/dev/null || fail "no key chooser"
sleep 0.5
xdotool key t
wait_closed "Choose Key"
sleep 1
xdotool key Return
wait_closed Options
[ "$(stored KeySettings StartStopPeriodClockKey)" = 84 ] ||
    fail "the options dialog did not get the keyboard back from the key chooser"
sleep 1
xdotool key t
clock_runs || fail "the board did not get the keyboard back after the key chooser"
xdotool key t
echo "PASS: the board and the options dialog get the keyboard without a window manager"

# The board at 1920 x 1080: the ink of each text stays clear of its box's
# edges and spans most of it (a name cut to its first word would not).
xdotool windowsize --sync "$WINDOW" 1920 1080
sleep 1.5
screenshot kiosk_1920
check_text() {
    local name=$1 left=$2 top=$3 width=$4 height=$5 background=$6 share=$7
    local x=$((left * 1920 / 9480)) y=$((top * 1080 / 6795))
    local w=$(((left + width) * 1920 / 9480 - x)) h=$(((top + height) * 1080 / 6795 - y))
    ((x + w > 1920)) && w=$((1920 - x))
    # Rows at the box's top and bottom edges may blend with what is around.
    convert "$OUT/kiosk_1920.png" -crop "${w}x$((h - 4))+$x+$((y + 2))" +repage \
        -bordercolor "$background" -border 1 "$OUT/kiosk_$name.png"
    local ink
    ink=$(convert "$OUT/kiosk_$name.png" -fuzz 25% -format '%@' info:)
    [[ $ink =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "$name: no text found ($ink)"
    local iw=${BASH_REMATCH[1]} ix=${BASH_REMATCH[3]}
    echo "$name: box $w px wide, text $iw px from $((ix - 1))"
    ((ix > 2 && ix + iw < w - 1)) || fail "$name is cut at an edge of its box: text $ink in $w px"
    ((iw * 100 >= w * share)) || fail "$name shows only part of its text: $iw of $w px"
}
check_text title 113 0 9255 855 "rgb(64,64,64)" 50
check_text home 0 1115 2600 495 white 60
check_text visitor 6900 1115 2600 495 "rgb(0,153,255)" 60
echo "PASS: the title and long names show whole at 1920 x 1080"
