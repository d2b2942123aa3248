#!/usr/bin/env bash
# The kiosk start: `zembrak --board` shows the board as its first and only
# window, with the settings loaded, and takes the operator's keys at once,
# with no click anywhere.
source "$(dirname "$0")/lib.sh"

command -v curl >/dev/null || fail "curl is needed (scripts/install-deps.sh installs it)"
start_display
# A title saved before: the board shows what the start screen would have loaded.
mkdir -p "$XDG_CONFIG_HOME/Zembrak"
printf '[TextSettings]\nTitleText=Venue PC\n' >"$XDG_CONFIG_HOME/Zembrak/Zembrak.conf"

PORT=$((20000 + RANDOM % 20000))
QT_QPA_PLATFORM=xcb "$PROGRAM" --board --feed "127.0.0.1:$PORT" >"$WORK/board.log" 2>&1 &
BOARD_PID=$!
PIDS+=("$BOARD_PID")
WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zembrak$' | head -n 1) ||
    fail "no window appeared: $(cat "$WORK/board.log")"
sleep 0.5
[ "$(xdotool search --onlyvisible --name '^Zembrak$' | wc -l)" -eq 1 ] || fail "more than one window showed"
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
[ "$WIDTH x $HEIGHT" != "416 x 216" ] || fail "the first window is the start screen"

state() { curl -s --max-time 2 "http://127.0.0.1:$PORT/state"; }
for _ in $(seq 50); do state >/dev/null && break; sleep 0.1; done
state | grep -q '"title":"Venue PC"' || fail "the settings were not loaded: $(state)"

# The start/stop key to whatever has the focus: the board, untouched.
xdotool key s
for _ in $(seq 20); do state | grep -q '"clock_running":true' && break; sleep 0.1; done
state | grep -q '"clock_running":true' || fail "the board did not take the key: $(state)"
echo "PASS: --board opens the board first, with its settings, and its keys work at once"
