#!/usr/bin/env bash
# With "Keep Numlock On" stored, NumLock pressed on the board comes back on;
# in "Normal Mode" it toggles as usual; choosing "Keep Numlock Off" in the
# options turns it off as soon as OK is pressed.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options.sh"

numlock() { xset q | sed -n 's/.*Num Lock: *\([a-z]*\).*/\1/p'; }

store_mode() {
    mkdir -p "$(dirname "$STORE")"
    printf '[KeySettings]\nNumLockForce=%s\n' "$1" >"$STORE"
}

start_display -noreset
store_mode 1
start_board
[ "$(numlock)" = off ] || fail "the mode was applied at start: NumLock is $(numlock)"
xdotool key Num_Lock
sleep 0.5
[ "$(numlock)" = on ] || fail "NumLock did not come on"
xdotool key Num_Lock
sleep 0.5
[ "$(numlock)" = on ] || fail "Keep Numlock On let NumLock go off"

kill "$BOARD_PID"
wait "$BOARD_PID" 2>/dev/null || true
store_mode 0
start_board
[ "$(numlock)" = on ] || fail "NumLock changed between runs"
xdotool key Num_Lock
sleep 0.5
[ "$(numlock)" = off ] || fail "in Normal Mode NumLock did not go off"
xdotool key Num_Lock
sleep 0.5
[ "$(numlock)" = on ] || fail "in Normal Mode NumLock did not come back on"

# OK with "Keep Numlock Off" switches it off at once.
xdotool key F2
find_dialog Options
# The option button: 120, 960 inside the NumLock frame at 3720, 720, inside the tab control at 120, 120.
xdotool mousemove $((DIALOG_X + (120 + 3720 + 120 + 300) / 15)) $((DIALOG_Y + (120 + 720 + 960 + 187) / 15)) click 1
xdotool key Return
wait_closed Options
sleep 0.3
[ "$(numlock)" = off ] || fail "OK with Keep Numlock Off left NumLock $(numlock)"
[ "$(stored KeySettings NumLockForce)" = 2 ] || fail "the mode stored is $(stored KeySettings NumLockForce)"
echo "PASS: NumLock is kept on in mode 1, left alone in mode 0, and switched off by OK in mode 2"
