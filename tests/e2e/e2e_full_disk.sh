#!/usr/bin/env bash
# A full disk leaves no half line: on a tiny tmpfs the results file is kept
# as it was when a line does not fit, stderr says "No space left on device",
# and once there is room again the next line starts on a line of its own.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/feed.sh"

SMALL="$WORK/small"
mkdir -p "$SMALL"
if ! mount -t tmpfs -o size=64k tmpfs "$SMALL" 2>/dev/null; then
    echo "SKIP: a tmpfs cannot be mounted here (the test needs root)"
    rm -rf "$WORK"
    exit 77
fi
trap 'umount "$SMALL" 2>/dev/null || true; cleanup' EXIT
command -v python3 >/dev/null || fail "python3 is needed"

start_display
PORT=$((20000 + RANDOM % 20000))
RESULTS="$SMALL/results.csv"
printf 'A,B\nC,D\nE,F\nG,H\n' >"$WORK/day.csv"
BOARD_TITLE='^Zembrak — Match 1 of 4$' start_board --matches "$WORK/day.csv" --results "$RESULTS" --feed "127.0.0.1:$PORT"
feed_up

# A contest in which the clock ran, then N.
contest() {
    xdotool key --window "$WINDOW" s
    sleep 1.2
    xdotool key --window "$WINDOW" s
    xdotool key --window "$WINDOW" n
    answer_question y
    wait_for '["match"]["index"]' 10 "$1"
    sleep 0.5
}
contest 2
for _ in $(seq 100); do [ "$(wc -l <"$RESULTS" 2>/dev/null)" = 2 ] && break; sleep 0.1; done
[ "$(wc -l <"$RESULTS")" = 2 ] || fail "no first line: $(cat "$RESULTS")"

# Pad the file to 10 bytes short of its page with a line of its own, and
# fill the rest of the file system.
python3 - "$RESULTS" <<'PY'
import os, sys
path = sys.argv[1]
need = 4096 - os.path.getsize(path) - 10
with open(path, "a") as f:
    f.write("x" * (need - 23) + "," * 22 + "\n")
PY
dd if=/dev/zero of="$SMALL/filler" bs=4k >/dev/null 2>&1 || true
before=$(md5sum <"$RESULTS")
contest 3
# The line is written off the board's thread: its failure comes a moment later.
for _ in $(seq 100); do grep -q "No space left on device" "$WORK/board.log" && break; sleep 0.1; done
grep -q "No space left on device" "$WORK/board.log" || fail "the reason is not named: $(cat "$WORK/board.log")"
[ "$(md5sum <"$RESULTS")" = "$before" ] || fail "the full disk changed the results file: $(tail -c 200 "$RESULTS")"
# The operator's word on it is the board's own strip (checked by the widget
# tests), never a box that would hold the keys or a quit.
sleep 0.5
xdotool search --onlyvisible --name '^Results$' >/dev/null 2>&1 && fail "a box stands in the operator's way"

rm "$SMALL/filler"
contest 4
for _ in $(seq 100); do [ "$(wc -l <"$RESULTS")" -ge 4 ] && break; sleep 0.1; done
python3 - "$RESULTS" <<'PY' || fail "the results file is not whole lines of 23 fields: $(cat "$RESULTS")"
import csv, sys
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
assert len(rows) == 4, rows
assert all(len(row) == 23 for row in rows), [len(row) for row in rows]
assert rows[3][0] != "" and rows[3][20] == "3", rows[3]
PY
echo "PASS: a full disk left the results file whole, and the next line came on its own"
