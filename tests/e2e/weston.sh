# Shared steps of the end-to-end tests under Wayland: a private Weston and
# what its protocol log tells of our windows. Sourced after lib.sh.

command -v weston >/dev/null || fail "weston is needed (scripts/install-deps.sh installs it)"
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
ls "$plugins"/platforms/libqwayland-*.so >/dev/null 2>&1 ||
    fail "Qt's Wayland plugin is needed (qt6-wayland; scripts/install-deps.sh installs it)"

# Starts Weston with the arguments given, logging every protocol message,
# and sets WAYLAND_SOCKET_NAME and WESTON_LOG. Only where Weston itself
# cannot run here does the test skip (77), as no fault of ours.
start_weston() {
    WAYLAND_SOCKET_NAME="zembrak-e2e-$$"
    WESTON_LOG="$WORK/weston.log"
    weston --no-config --socket="$WAYLAND_SOCKET_NAME" --idle-time=0 --logger-scopes=log,proto \
        --log="$WESTON_LOG" "$@" >"$WORK/weston.out" 2>&1 &
    local weston=$!
    PIDS+=("$weston")
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/$WAYLAND_SOCKET_NAME" ] && grep -q "enabled with head" "$WESTON_LOG" 2>/dev/null &&
            return 0
        kill -0 "$weston" 2>/dev/null || break
        sleep 0.1
    done
    echo "SKIP: Weston does not start here: $(tail -n 5 "$WORK/weston.out" "$WESTON_LOG" 2>/dev/null)"
    exit 77
}

# Starts the program natively on that Weston, with any arguments given, and
# with no X display nor session bus to fall back on; sets BOARD_PID.
start_native() {
    env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY="$WAYLAND_SOCKET_NAME" QT_QPA_PLATFORM=wayland \
        "$PROGRAM" "$@" >"$WORK/board.log" 2>&1 &
    BOARD_PID=$!
    PIDS+=("$BOARD_PID")
}

# Our client in the log: the one that named a window "Zembrak". (grep -m1
# rather than head: a pipe cut short fails under pipefail.)
client_of() {
    grep -m1 -F "set_title(\"$1\")" "$WESTON_LOG" | sed -E 's/.*client (0x[0-9a-f]+) .*/\1/'
}

# The wl_surface of the window of that title: its toplevel, then its xdg
# surface, then the surface under that.
surface_of() {
    local title=$1 client=$2 toplevel xdg
    toplevel=$(grep -m1 -E "client $client rq xdg_toplevel@[0-9]+\.set_title\(\"$title\"\)" "$WESTON_LOG" |
        sed -E 's/.* rq (xdg_toplevel@[0-9]+)\..*/\1/')
    xdg=$(grep -m1 -E "client $client rq xdg_surface@[0-9]+\.get_toplevel\(new id $toplevel\)" "$WESTON_LOG" |
        sed -E 's/.* rq (xdg_surface@[0-9]+)\..*/\1/')
    grep -m1 -E "client $client rq .*get_xdg_surface\(new id $xdg, wl_surface@" "$WESTON_LOG" |
        sed -E 's/.*, (wl_surface@[0-9]+)\).*/\1/'
}

# The outputs (their x as Weston gave them) that the window of that title
# entered. A surface enters an output only once it is mapped there.
outputs_of() {
    local title=$1 client surface output
    client=$(client_of "$title")
    [ -n "$client" ] || return 0
    surface=$(surface_of "$title" "$client")
    for output in $(grep -E "client $client ev $surface\.enter\(" "$WESTON_LOG" |
        sed -E 's/.*enter\((wl_output@[0-9]+)\).*/\1/' | sort -u); do
        grep -m1 -E "client $client ev $output\.geometry\(" "$WESTON_LOG" | sed -E 's/.*geometry\(([-0-9]+),.*/x=\1/'
    done
}

# Waits until the window of that title holds the keyboard: Weston hands it
# back a while after a dialog closes, and keys sent before are lost.
wait_keyboard() {
    local title=$1 client surface last
    client=$(client_of "$title")
    surface=$(surface_of "$title" "$client")
    for _ in $(seq 50); do
        last=$(grep -E "client $client ev wl_keyboard@[0-9]+\.(enter|leave)\(" "$WESTON_LOG" | tail -n 1 || true)
        [[ $last == *"enter("*"$surface,"* ]] && return 0
        sleep 0.1
    done
    fail "the window \"$title\" did not get the keyboard back"
}

# Waits until Weston has mapped the windows of these titles.
wait_mapped() {
    local title all
    for _ in $(seq 50); do
        all=1
        for title in "$@"; do
            [ -n "$(outputs_of "$title")" ] || all=0
        done
        [ "$all" = 1 ] && return 0
        sleep 0.2
    done
    for title in "$@"; do
        [ -n "$(outputs_of "$title")" ] || fail "Weston did not map the window \"$title\": $(cat "$WORK/board.log")"
    done
}
