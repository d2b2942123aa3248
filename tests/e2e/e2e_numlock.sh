#!/usr/bin/env bash
# With "Keep Numlock On" stored, NumLock pressed on the board comes back on;
# in "Normal Mode" it toggles as usual.
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
xdotool key --window "$WINDOW" Num_Lock
sleep 0.5
[ "$(numlock)" = on ] || fail "NumLock did not come on"
xdotool key --window "$WINDOW" Num_Lock
sleep 0.5
[ "$(numlock)" = on ] || fail "Keep Numlock On let NumLock go off"

kill "$BOARD_PID"
wait "$BOARD_PID" 2>/dev/null || true
store_mode 0
start_board
[ "$(numlock)" = on ] || fail "NumLock changed between runs"
xdotool key --window "$WINDOW" Num_Lock
sleep 0.5
[ "$(numlock)" = off ] || fail "in Normal Mode NumLock did not go off"
echo "PASS: NumLock is kept on in mode 1 and left alone in mode 0"
