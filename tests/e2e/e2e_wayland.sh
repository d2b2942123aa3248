#!/usr/bin/env bash
# Natively under Wayland: Weston's headless back end (one output; Weston 10's
# headless back end makes no second one), and `zembrak --board` on Qt's
# Wayland plugin, full screen, with the audience window and the feed. The
# feed serves /state, Weston's protocol log shows both windows mapped and
# full screen on the output, and SIGTERM ends the program with 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/weston.sh"

command -v curl >/dev/null || fail "curl is needed (scripts/install-deps.sh installs it)"
start_weston --backend=headless-backend.so --width=1280 --height=1024
PORT=$((20000 + RANDOM % 20000))
start_native --board --fullscreen --audience 0 --feed "127.0.0.1:$PORT"

state() { curl -s --max-time 2 "http://127.0.0.1:$PORT/state"; }
for _ in $(seq 100); do state >/dev/null && break; sleep 0.1; done
state | grep -q '"clock":"2:00"' || fail "the feed does not serve /state: $(state) $(cat "$WORK/board.log")"

wait_mapped Zembrak "Zembrak audience"
client=$(client_of Zembrak)
# Each of the two windows: count the windows, not the requests.
windows() { grep -oE "client $client $1" "$WESTON_LOG" | grep -oE "xdg_toplevel@[0-9]+" | sort -u | wc -l; }
[ "$(windows 'rq xdg_toplevel@[0-9]+\.set_fullscreen\(wl_output@')" -eq 2 ] ||
    fail "the board and the audience window did not both ask for full screen on their output"
[ "$(windows 'ev xdg_toplevel@[0-9]+\.configure\(1280, 1024,')" -eq 2 ] ||
    fail "Weston did not make both windows full screen on the output"

# Natively there is no X11 screen saver, and this bare session has neither
# portal nor screen saver service: the operator is told.
grep -q "nothing here can keep the display awake" "$WORK/board.log" ||
    fail "no word that the display may blank: $(cat "$WORK/board.log")"

kill -TERM "$BOARD_PID"
status=0
wait "$BOARD_PID" || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the program with status $status: $(cat "$WORK/board.log")"
echo "PASS: the board runs natively under Wayland, maps its windows and quits cleanly on SIGTERM"
