#!/usr/bin/env bash
# SIGTERM (a service stop) and SIGINT (Ctrl-C) close the board as closing its
# window does: exit status 0, window gone. Under valgrind's memcheck a start
# and a quit lose nothing for certain.
source "$(dirname "$0")/lib.sh"

# Waits up to $2 seconds for process $1 to end; sets STATUS to its exit status.
wait_for_exit() {
    local pid=$1 seconds=$2
    for _ in $(seq $((seconds * 10))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the board did not quit within $seconds s"
    STATUS=0
    wait "$pid" || STATUS=$?
}

start_display
for signal in TERM INT; do
    start_board
    kill -s "$signal" "$BOARD_PID"
    wait_for_exit "$BOARD_PID" 10
    [ "$STATUS" = 0 ] || fail "SIG$signal ended the board with status $STATUS: $(cat "$WORK/board.log")"
    xdotool search --name '^Zembrak$' >/dev/null 2>&1 && fail "a board window is left after SIG$signal"
done
echo "PASS: SIGTERM and SIGINT quit cleanly"

if ! command -v valgrind >/dev/null || ! command -v dbus-run-session >/dev/null; then
    echo "SKIP: valgrind or dbus-run-session is not installed"
    exit 77
fi
if ldd "$PROGRAM" | grep -q -E 'libasan|libtsan'; then
    echo "SKIP: valgrind cannot run a sanitizer build"
    exit 77
fi
# A session bus, as on any desktop: without one, libdbus loses its buffer
# in a failed autolaunch, which is none of the board's doing.
QT_QPA_PLATFORM=xcb dbus-run-session -- sh -c 'echo $$ >"$1"; shift; exec "$@"' sh "$WORK/valgrind.pid" \
    valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite --child-silent-after-fork=yes \
    --log-file="$OUT/valgrind_quit.log" "$PROGRAM" >"$WORK/valgrind_board.log" 2>&1 &
SESSION_PID=$!
PIDS+=("$SESSION_PID")
timeout 150 xdotool search --sync --onlyvisible --name '^Zembrak$' >/dev/null ||
    fail "the board did not appear under valgrind: $(tail -n 20 "$OUT/valgrind_quit.log")"
sleep 1
kill -TERM "$(cat "$WORK/valgrind.pid")"
wait_for_exit "$SESSION_PID" 60
[ "$STATUS" = 0 ] || fail "under valgrind SIGTERM ended the board with status $STATUS"
grep -q -E 'definitely lost: 0 bytes|All heap blocks were freed' "$OUT/valgrind_quit.log" ||
    fail "memory definitely lost: $(grep -A3 'LEAK SUMMARY' "$OUT/valgrind_quit.log")"
echo "PASS: nothing definitely lost from start to quit under valgrind"
