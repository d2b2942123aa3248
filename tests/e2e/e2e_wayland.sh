#!/usr/bin/env bash
# Natively under Wayland: Weston's headless back end (one output; Weston 10's
# headless back end makes no second one), and `zembrak --board` on Qt's
# Wayland plugin with the audience window and the feed. The feed serves
# /state, Weston's protocol log shows both windows mapped on the output and
# the audience one full screen there, and SIGTERM ends the program with 0.
source "$(dirname "$0")/lib.sh"

command -v weston >/dev/null || fail "weston is needed (scripts/install-deps.sh installs it)"
command -v curl >/dev/null || fail "curl is needed (scripts/install-deps.sh installs it)"
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
ls "$plugins"/platforms/libqwayland-*.so >/dev/null 2>&1 ||
    fail "Qt's Wayland plugin is needed (qt6-wayland; scripts/install-deps.sh installs it)"

# Nothing of X: the program must not fall back to it.
unset DISPLAY
SOCKET="zembrak-e2e-$$"
WESTON_LOG="$WORK/weston.log"
weston --backend=headless-backend.so --no-config --socket="$SOCKET" --width=1280 --height=1024 \
    --idle-time=0 --logger-scopes=log,proto --log="$WESTON_LOG" >"$WORK/weston.out" 2>&1 &
WESTON_PID=$!
PIDS+=("$WESTON_PID")
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$SOCKET" ] && grep -q "enabled with head" "$WESTON_LOG" 2>/dev/null && break
    kill -0 "$WESTON_PID" 2>/dev/null || break
    sleep 0.1
done
if ! [ -S "$XDG_RUNTIME_DIR/$SOCKET" ] || ! kill -0 "$WESTON_PID" 2>/dev/null; then
    # Only where Weston itself cannot run here is this no failure of ours.
    echo "SKIP: Weston's headless back end does not start here: $(tail -n 5 "$WORK/weston.out" "$WESTON_LOG" 2>/dev/null)"
    exit 77
fi

PORT=$((20000 + RANDOM % 20000))
env -u DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY="$SOCKET" QT_QPA_PLATFORM=wayland \
    "$PROGRAM" --board --audience 0 --feed "127.0.0.1:$PORT" >"$WORK/board.log" 2>&1 &
BOARD_PID=$!
PIDS+=("$BOARD_PID")

state() { curl -s --max-time 2 "http://127.0.0.1:$PORT/state"; }
for _ in $(seq 100); do state >/dev/null && break; sleep 0.1; done
state | grep -q '"clock":"2:00"' || fail "the feed does not serve /state: $(state) $(cat "$WORK/board.log")"

# The protocol log of our own client: the one that named a window "Zembrak".
# (grep -m1 rather than head: a pipe cut short fails under pipefail.)
client_of() {
    grep -m1 -F "set_title(\"$1\")" "$WESTON_LOG" | sed -E 's/.*client (0x[0-9a-f]+) .*/\1/'
}
# The outputs the window of that title entered: its toplevel, its xdg
# surface, its wl_surface, then that surface's enter events. A surface
# enters an output only once it is mapped there.
outputs_of() {
    local title=$1 client toplevel xdg surface
    client=$(client_of "$title")
    [ -n "$client" ] || return 0
    toplevel=$(grep -m1 -E "client $client rq xdg_toplevel@[0-9]+\.set_title\(\"$title\"\)" "$WESTON_LOG" |
        sed -E 's/.* rq (xdg_toplevel@[0-9]+)\..*/\1/')
    xdg=$(grep -m1 -E "client $client rq xdg_surface@[0-9]+\.get_toplevel\(new id $toplevel\)" "$WESTON_LOG" |
        sed -E 's/.* rq (xdg_surface@[0-9]+)\..*/\1/')
    surface=$(grep -m1 -E "client $client rq .*get_xdg_surface\(new id $xdg, wl_surface@" "$WESTON_LOG" |
        sed -E 's/.*, (wl_surface@[0-9]+)\).*/\1/')
    grep -E "client $client ev $surface\.enter\(" "$WESTON_LOG" | sed -E 's/.*enter\((wl_output@[0-9]+)\).*/\1/' |
        sort -u
}
for _ in $(seq 50); do
    [ -n "$(outputs_of Zembrak)" ] && [ -n "$(outputs_of 'Zembrak audience')" ] && break
    sleep 0.2
done
[ -n "$(outputs_of Zembrak)" ] || fail "Weston did not map the board: $(grep -c . "$WESTON_LOG") log lines"
[ -n "$(outputs_of 'Zembrak audience')" ] || fail "Weston did not map the audience window"
client=$(client_of Zembrak)
grep -qE "client $client rq xdg_toplevel@[0-9]+\.set_fullscreen\(wl_output@" "$WESTON_LOG" ||
    fail "the audience window did not ask for full screen on its output"
grep -qE "client $client ev xdg_toplevel@[0-9]+\.configure\(1280, 1024," "$WESTON_LOG" ||
    fail "Weston did not make a window full screen on its output"

# Natively there is no X11 screen saver, and this bare session has neither
# portal nor screen saver service: the operator is told.
grep -q "nothing here can keep the display awake" "$WORK/board.log" ||
    fail "no word that the display may blank: $(cat "$WORK/board.log")"

kill -TERM "$BOARD_PID"
status=0
wait "$BOARD_PID" || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the program with status $status: $(cat "$WORK/board.log")"
echo "PASS: the board runs natively under Wayland, maps its windows and quits cleanly on SIGTERM"
