#!/usr/bin/env bash
# The audience window shows the board and nothing of the operator's work:
# with the clock stopped, its image stays the same while the options
# dialog (every tab), the key chooser, a message box, the manual and the
# restore question are open, and after each has closed. The audience has
# a screen of its own (the X server's second screen).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options.sh"

CLOSE_WINDOW="$(dirname "$PROGRAM")/close_window"
[ -x "$CLOSE_WINDOW" ] || fail "the close_window helper was not built"
start_display 1280x1024 -screen 1 1280x1024x24

AUDIENCE=
find_audience() {
    AUDIENCE=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak audience$' | head -n 1) ||
        fail "no audience window: $(cat "$WORK/board.log")"
    sleep 0.5
}
# The audience window's image, from the screen it is on.
shot() {
    sleep 0.4 # whatever the board repaints reaches the mirror
    DISPLAY="${DISPLAY%.*}.1" import -window "$AUDIENCE" "$OUT/audience_$1.png"
}
# Fails when the audience window shows anything but its first image.
unchanged() {
    shot "$1"
    differs audience_first "audience_$1" && fail "the audience saw the operator's $2"
    return 0
}

start_board --audience 1
find_audience
shot first

xdotool key --window "$WINDOW" F2
find_dialog Options
unchanged options_tab1 "options dialog"
import -window "$DIALOG" "$OUT/options_tab1.png"
# The six tabs share the strip along the top of the tab control (120, 120, 6015 wide).
tab_x() { echo $((DIALOG_X + (120 + 6015 * (2 * $1 - 1) / 12) / 15)); }
for tab in 2 3 4 5 6; do
    xdotool mousemove "$(tab_x "$tab")" $((DIALOG_Y + 120 / 15 + 10)) click 1
    unchanged "options_tab$tab" "options dialog, tab $tab"
    import -window "$DIALOG" "$OUT/options_tab$tab.png"
    differs "options_tab$((tab - 1))" "options_tab$tab" || fail "tab $tab did not open"
done
# Back on the first tab: the key chooser, then a message box.
xdotool mousemove "$(tab_x 1)" $((DIALOG_Y + 120 / 15 + 10)) click 1
sleep 0.3
xdotool mousemove $((DIALOG_X + (120 + 360 + 847) / 15)) $((DIALOG_Y + (120 + 600 + 247) / 15)) click 1
find_dialog "Choose Key"
unchanged key_chooser "key chooser"
"$CLOSE_WINDOW" "$DIALOG"
wait_closed "Choose Key"
unchanged key_chooser_closed "key chooser, closed"
find_dialog Options
xdotool mousemove $((DIALOG_X + (120 + 4440 + 607) / 15)) $((DIALOG_Y + (120 + 4320 + 187) / 15)) click 1
find_dialog "Reset Keys"
unchanged message_box "message box"
xdotool key Escape
wait_closed "Reset Keys"
find_dialog Options
xdotool key Escape
wait_closed Options
unchanged options_closed "options dialog, closed"

focus_board
xdotool key --window "$WINDOW" F1
HELP=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak Help$' | head -n 1) ||
    fail "F1 did not open the manual"
unchanged help "manual"
"$CLOSE_WINDOW" "$HELP"
wait_closed "Zembrak Help"
unchanged help_closed "manual, closed"

# The restore question, over a board that comes up with a saved contest:
# answered No, the board is the fresh one it was.
kill "$BOARD_PID"
wait "$BOARD_PID" 2>/dev/null || true
mkdir -p "$XDG_DATA_HOME/Zembrak/Zembrak"
timer='{"ticks":1000000,"running":false}'
cat >"$XDG_DATA_HOME/Zembrak/Zembrak/contest.json" <<JSON
{"version":1,"title":"Home","home":"Home","visitor":"Visitor","rules":"design",
 "marks":{"penalties":[true,false,false,false,false,false],"ippon":0,"med_home":0,"med_visitor":0,"winner":0,
  "scores":[1,0,0,0,0,0],"shido_home":0,"shido_visitor":0},
 "period":$timer,"hold_home":$timer,"hold_visitor":$timer,"golden_score":false,"clock_ran":true,"match_index":0}
JSON
WINDOW=
start_splash --audience 1
xdotool mousemove --window "$SPLASH" 200 40 click 1
find_audience
QUESTION=
for _ in $(seq 50); do
    for id in $(xdotool search --onlyvisible --name '^Zembrak$' 2>/dev/null); do
        [ "$id" = "$SPLASH" ] && continue
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ "$WIDTH" -lt 600 ] && QUESTION=$id && break 2
    done
    sleep 0.2
done
[ -n "$QUESTION" ] || fail "no restore question: $(cat "$WORK/board.log")"
unchanged restore_question "restore question"
xdotool windowfocus --sync "$QUESTION" 2>/dev/null || true
xdotool key Escape
asking() { xdotool search --onlyvisible --name '^Zembrak$' 2>/dev/null | grep -qx "$QUESTION"; }
for _ in $(seq 50); do asking || break; sleep 0.1; done
asking && fail "the restore question did not close"
unchanged restore_question_closed "restore question, closed"
echo "PASS: the audience window showed the board and nothing else"
