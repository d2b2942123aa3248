#!/usr/bin/env bash
# SIGTERM (a service stop), SIGINT (Ctrl-C) and SIGHUP (a closed terminal or
# an ended session) close the board as closing its window does: exit status
# 0, window gone. Under valgrind's memcheck a start
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

# Starts the board in a session bus of its own, as on any desktop (without
# one, libdbus loses a buffer in a failed autolaunch, none of the board's
# doing), with "$@" before it; sets SESSION_PID and BOARD_PID.
start_in_session() {
    rm -f "$WORK/board.pid"
    QT_QPA_PLATFORM=xcb dbus-run-session -- sh -c 'echo $$ >"$1"; shift; exec "$@"' sh "$WORK/board.pid" \
        "$@" "$PROGRAM" >"$WORK/board.log" 2>&1 &
    SESSION_PID=$!
    PIDS+=("$SESSION_PID")
    timeout 150 xdotool search --sync --onlyvisible --name '^Zembrak$' >/dev/null ||
        fail "the board did not appear: $(tail -n 20 "$WORK/board.log")"
    BOARD_PID=$(cat "$WORK/board.pid")
    sleep 0.5
}

command -v dbus-run-session >/dev/null || fail "dbus-run-session is not installed (package: dbus)"
sanitized=false
# ldd is read to its end: with grep -q it could be cut short, and under
# pipefail a sanitizer build would then pass for a plain one.
[ -n "$(ldd "$PROGRAM" | grep -E 'libasan|libtsan')" ] && sanitized=true
# Leaks on this path are valgrind's to judge, below; in a sanitizer build the
# exit-time leak check would judge the system libraries' caches instead.
$sanitized && export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

start_display
for signal in TERM INT HUP; do
    start_in_session env
    kill -s "$signal" "$BOARD_PID"
    wait_for_exit "$SESSION_PID" 20
    [ "$STATUS" = 0 ] || fail "SIG$signal ended the board with status $STATUS: $(cat "$WORK/board.log")"
    xdotool search --name '^Zembrak$' >/dev/null 2>&1 && fail "a board window is left after SIG$signal"
done
echo "PASS: SIGTERM, SIGINT and SIGHUP quit cleanly"

if ! command -v valgrind >/dev/null; then
    echo "SKIP: valgrind is not installed"
    exit 77
fi
if $sanitized; then
    echo "SKIP: valgrind cannot run a sanitizer build"
    exit 77
fi
start_in_session valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
    --suppressions="$(dirname "$0")/../valgrind.supp" --child-silent-after-fork=yes \
    --log-file="$OUT/valgrind_quit.log"
sleep 1
kill -TERM "$BOARD_PID"
wait_for_exit "$SESSION_PID" 60
[ "$STATUS" = 0 ] || fail "under valgrind SIGTERM ended the board with status $STATUS"
grep -q -E 'definitely lost: 0 bytes|All heap blocks were freed' "$OUT/valgrind_quit.log" ||
    fail "memory definitely lost: $(grep -A3 'LEAK SUMMARY' "$OUT/valgrind_quit.log")"
echo "PASS: nothing definitely lost from start to quit under valgrind"
