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
# Results and the saved contest stay in the run too.
export XDG_DATA_HOME="$WORK/data"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
PIDS=()

cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    # KEEP_WORK=1 keeps the logs and traces for a look after a failure.
    [ -n "${KEEP_WORK:-}" ] || rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Fails unless every tool named is installed.
need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is needed (scripts/install-deps.sh installs it)"
    done
}

# Starts Xvfb on the first free display number. An optional first argument
# WxH is the screen size (1280x1024 unless given); further arguments go to
# Xvfb: -noreset keeps the keyboard locks when the last client leaves.
start_display() {
    local n size=1280x1024
    if [[ ${1:-} =~ ^[0-9]+x[0-9]+$ ]]; then
        size=$1
        shift
    fi
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp "$@" >"$WORK/xvfb.log" 2>&1 &
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

# Answers the board's Yes/No question (the next-match key's on a contest
# without a winner, say) with KEY: y or n. The board's own window has more
# than "Zembrak" in its title by then, and the start screen is left out.
answer_question() {
    local question
    question=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zembrak$' |
        grep -v "^${SPLASH:-none}$" | tail -n 1) || fail "no question was asked"
    [ -n "$question" ] || fail "no question was asked"
    xdotool windowfocus --sync "$question" 2>/dev/null || true
    xdotool key "$1"
}

# Starts the program, with any arguments given, and waits for its start
# screen; sets SPLASH and its geometry (SPLASH_X, SPLASH_Y, SPLASH_W, SPLASH_H).
start_splash() {
    QT_QPA_PLATFORM=xcb "$PROGRAM" "$@" >"$WORK/board.log" 2>&1 &
    BOARD_PID=$!
    PIDS+=("$BOARD_PID")
    SPLASH=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zembrak$' | head -n 1) ||
        fail "the start screen did not appear: $(cat "$WORK/board.log")"
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$SPLASH")"
    SPLASH_X=$X
    SPLASH_Y=$Y
    SPLASH_W=$WIDTH
    SPLASH_H=$HEIGHT
}

# Clicks the start screen on its name, away from its buttons, and waits for
# the board; sets WINDOW and its geometry. BOARD_TITLE, a pattern, is the
# board's window title when a rule set names itself there.
click_through_splash() {
    open_board_from_splash 1
    xdotool windowactivate --sync "$WINDOW" 2>/dev/null || xdotool windowfocus --sync "$WINDOW"
}

# Clicks the start screen on its name with mouse button $1 and waits for the
# board, without giving it the keyboard; sets WINDOW, WIN_X and WIN_Y.
open_board_from_splash() {
    xdotool mousemove --window "$SPLASH" 200 40 click "$1"
    local id
    WINDOW= # the start screen's geometry set it
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name "${BOARD_TITLE:-^Zembrak\$}" 2>/dev/null); do
            [ "$id" = "$SPLASH" ] && continue
            eval "$(xdotool getwindowgeometry --shell "$id")"
            # Only the board; no other window of that name and size.
            [ "$WIDTH,$HEIGHT" != "$SPLASH_W,$SPLASH_H" ] && WINDOW=$id && break 2
        done
        sleep 0.2
    done
    [ -n "${WINDOW:-}" ] || fail "the board did not open from the start screen: $(cat "$WORK/board.log")"
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
    WIN_X=$X
    WIN_Y=$Y
}

# Starts the program, with any arguments given, and clicks through its
# start screen to the board.
start_board() {
    start_splash "$@"
    click_through_splash
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
