# Steps shared by the options tests: the settings file, and the dialogs.

STORE="$XDG_CONFIG_HOME/Zembrak/Zembrak.conf"

# The stored text of a key, from the settings file's section.
stored() {
    awk -F= -v section="[$1]" -v key="$2" '
        /^\[/ { inside = ($0 == section) }
        inside && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$STORE"
}

# Waits for a window titled exactly $1, gives it the keyboard, and sets
# DIALOG and DIALOG_X, DIALOG_Y (its client area's corner).
find_dialog() {
    DIALOG=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) ||
        fail "the window \"$1\" did not appear"
    sleep 0.3
    local board=$WINDOW # the geometry below sets WINDOW too
    eval "$(xdotool getwindowgeometry --shell "$DIALOG")"
    WINDOW=$board
    DIALOG_X=$X
    DIALOG_Y=$Y
    xdotool windowactivate --sync "$DIALOG" 2>/dev/null || xdotool windowfocus --sync "$DIALOG"
}

# Waits until no window titled exactly $1 is shown.
wait_closed() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the window \"$1\" did not close"
}

# Gives the board the keyboard again. Qt on X11 takes a returning focus
# only after a short delay (it waits out focus flicker), so keys wait too.
focus_board() {
    xdotool windowactivate --sync "$WINDOW" 2>/dev/null || xdotool windowfocus --sync "$WINDOW"
    sleep 0.6
}
