# Shared steps of the end-to-end tests: a private X display, a clean
# settings store, the real program, and looking at what it shows.
# Sourced by the e2e_*.sh scripts; $1 of the script is the program.

set -euo pipefail

PROGRAM=${1:?usage: $0 path/to/zembrak}
WORK=$(mktemp -d)
OUT=${E2E_OUT:-$WORK}
mkdir -p "$OUT"
export XDG_CONFIG_HOME="$WORK/config"
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
PIDS=()

cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb on the first free display number; $1 is the screen size
# (1280x1024 unless given).
start_display() {
    local n size=${1:-1280x1024}
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        local xvfb=$!
        PIDS+=($xvfb)
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            sleep 0.1
            # Another test may have taken the same number a moment earlier:
            # its server would answer, and go away with that test.
            kill -0 "$xvfb" 2>/dev/null || break
            xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        done
    done
    fail "no X display could be started"
}

# Starts the board and waits for its window; sets WINDOW and its geometry.
start_board() {
    QT_QPA_PLATFORM=xcb "$PROGRAM" >"$WORK/board.log" 2>&1 &
    BOARD_PID=$!
    PIDS+=("$BOARD_PID")
    WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zembrak$' | head -n 1) ||
        fail "the board window did not appear: $(cat "$WORK/board.log")"
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
    WIN_X=$X
    WIN_Y=$Y
    xdotool windowactivate --sync "$WINDOW" 2>/dev/null || xdotool windowfocus --sync "$WINDOW"
}

# The colour of the board's pixel at twips (x, y), as "r,g,b".
pixel_at_twips() {
    local px=$((WIN_X + $1 / 15)) py=$((WIN_Y + $2 / 15))
    import -window root -crop "1x1+$px+$py" -depth 8 txt:- | tail -n 1 |
        sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

# Saves the board's window as a PNG.
screenshot() {
    import -window "$WINDOW" "$OUT/$1.png"
}

# A region of the board (twips: left top width height), saved for comparing.
grab_region() {
    local file=$1 left=$2 top=$3 width=$4 height=$5
    import -window root -crop "$((width / 15))x$((height / 15))+$((WIN_X + left / 15))+$((WIN_Y + top / 15))" \
        "$OUT/$file.png"
}

differs() {
    local diff
    diff=$(compare -metric AE "$OUT/$1.png" "$OUT/$2.png" null: 2>&1 || true)
    [ "${diff%% *}" != "0" ]
}
