#!/usr/bin/env bash
# Natively under Wayland with two outputs and a real keyboard path: Weston's
# X11 back end on Xvfb (two outputs, as its headless back end cannot make
# them) with a German layout. The audience window goes full screen on the
# second output, the board stays on the first, and the start/stop key bound
# to code 219 (the key US keyboards have "[" on) is the German "ü" key:
# found by its physical place, as under X11. F2 and F1 open the options and
# the help natively.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/weston.sh"

command -v curl >/dev/null || fail "curl is needed (scripts/install-deps.sh installs it)"
start_display 1280x480 -noreset
setxkbmap de
start_weston --backend=x11-backend.so --use-pixman --output-count=2 --width=640 --height=480

mkdir -p "$XDG_CONFIG_HOME/Zembrak"
printf '[KeySettings]\nStartStopPeriodClockKey=219\n' >"$XDG_CONFIG_HOME/Zembrak/Zembrak.conf"
PORT=$((20000 + RANDOM % 20000))
start_native --board --audience 1 --feed "127.0.0.1:$PORT"
state() { curl -s --max-time 2 "http://127.0.0.1:$PORT/state"; }
for _ in $(seq 100); do state >/dev/null && break; sleep 0.1; done
state | grep -q '"clock_running":false' || fail "the feed does not serve /state: $(state) $(cat "$WORK/board.log")"

wait_mapped Zembrak "Zembrak audience"
[ "$(outputs_of 'Zembrak audience')" = "x=640" ] ||
    fail "the audience window is not on the second output alone: $(outputs_of 'Zembrak audience')"
outputs_of Zembrak | grep -qx "x=0" || fail "the board is not on the first output: $(outputs_of Zembrak)"

# Weston's two output windows both open at 0,0 on Xvfb, with no window
# manager to place them: the second is set beside the first. Then a click
# gives the board the keyboard (it covers the first output), and the "ü"
# key starts the clock. (Searching by name trips over Weston's short-lived
# windows; look at each.)
FIRST=
for id in $(xdotool search --name '' 2>/dev/null || true); do
    case "$(xdotool getwindowname "$id" 2>/dev/null)" in
    *screen0) FIRST=$id ;;
    *screen1) xdotool windowmove "$id" 640 0 ;;
    esac
done
[ -n "$FIRST" ] || fail "no window of Weston's first output"
xdotool mousemove --window "$FIRST" 320 240 click 1
sleep 0.3
xdotool key udiaeresis
for _ in $(seq 20); do state | grep -q '"clock_running":true' && break; sleep 0.1; done
state | grep -q '"clock_running":true' || fail "the ü key did not start the clock: $(state)"

# The options dialog and the help viewer open natively from the board's keys.
xdotool key F2
wait_mapped Options
xdotool key Escape
wait_keyboard Zembrak
xdotool key F1
wait_mapped "Zembrak Help"
echo "PASS: two outputs natively under Wayland, and a key read by its physical place"
