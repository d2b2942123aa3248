#!/usr/bin/env bash
# A buzzer file that cannot be played (a rate of a few hertz, which audio
# services divide by, or no sound at all) neither kills the board nor holds
# up its clock, at B or at the end of the contest time; the operator is
# told once on stderr. A file at an ordinary rate the device may refuse
# (4 kHz) is converted and heard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sound.sh"
source "$(dirname "$0")/feed.sh"
need_tools curl node

start_display
start_sound_server
start_recording

# A WAV file of 16-bit mono sound whose header declares the given rate.
wav_at_rate() {
    local file=$1 rate=$2 le
    sox -n -r 8000 -b 16 -e signed-integer -c 1 "$file" synth 1 sine 440 vol 0.7
    le() { printf "\\\\x%02x\\\\x%02x\\\\x%02x\\\\x%02x" $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
    # shellcheck disable=SC2059
    printf "$(le "$rate")$(le $((rate * 2)))" | dd of="$file" bs=1 seek=24 conv=notrunc status=none
}

# Runs the contest clock from 0:04 to its end with B pressed on the way,
# following the feed's event stream; fails if the board dies or its clock
# falls out of step by more than the slack (100 ms).
run_contest() {
    local what=$1
    feed_up
    follow_feed
    sleep 0.5
    xdotool mousemove --window "$WINDOW" $(((3398 + 2685 / 2) / 15)) $(((1500 + 1140 / 2) / 15)) click 1
    sleep 0.3
    xdotool type --delay 50 '0.04'
    xdotool key Return
    sleep 0.3
    xdotool key s
    sleep 1.5
    xdotool key b
    sleep 4
    kill -0 "$BOARD_PID" 2>/dev/null || fail "$what: the board died: $(tail -n 5 "$WORK/board.log")"
    kill "$FOLLOW" 2>/dev/null || true
    wait "$FOLLOW" 2>/dev/null || true
    mv "$WORK/clock.log" "$WORK/clock-$what.log"
    # The times at which the clock went from 0:04 down to 0:00.
    local -a changes
    mapfile -t changes < <(awk '$3 != previous { if (seen && $3 ~ /^0:0[0-3]$/) print $1; previous = $3; seen = 1 }' \
        "$WORK/clock-$what.log")
    [ ${#changes[@]} -eq 4 ] || fail "$what: the clock did not count down to 0:00: $(cat "$WORK/clock-$what.log")"
    local k=0 offset low="" high="" t
    for t in "${changes[@]}"; do
        offset=$((t - k * 1000))
        [ -z "$low" ] || [ "$offset" -lt "$low" ] && low=$offset
        [ -z "$high" ] || [ "$offset" -gt "$high" ] && high=$offset
        k=$((k + 1))
    done
    echo "$what: the clock counted down to 0:00, each second within $((high - low)) ms of the first"
    [ $((high - low)) -le "${E2E_TIME_SLACK_MS:-100}" ] || fail "$what: the clock fell out of step by $((high - low)) ms"
}

PORT=$((20000 + RANDOM % 20000))
wav_at_rate "$WORK/rate10.wav" 10
wav_at_rate "$WORK/rate40.wav" 40
printf 'RIFF but no sound at all' >"$WORK/words.wav"
for name in rate10 rate40 words; do
    restart_board_with "$WORK/$name.wav" --feed "127.0.0.1:$PORT"
    run_contest "$name"
    lines=$(grep -c "buzzer file .*$name.wav cannot be played" "$WORK/board.log" || true)
    [ "$lines" = 1 ] || fail "$name: $lines lines on stderr about the buzzer file, not 1: $(cat "$WORK/board.log")"
    grep "cannot be played" "$WORK/board.log"
done

# 4 kHz: converted to a rate the device takes, and heard whole.
wav_at_rate "$WORK/rate4k.wav" 4000
restart_board_with "$WORK/rate4k.wav"
from=$(recorded_bytes)
xdotool key b
sleep 3.5
sleep 1
read -r heard first last <<<"$(heard_ms "$from" $((from + 3 * BYTES_PER_SECOND)))"
echo "4 kHz file: $heard ms of 2000 ms heard, from $first to $last ms after the press"
[ "$heard" -ge 1800 ] || fail "the 4 kHz file was not heard whole ($heard ms of 2000 ms)"
grep -q "cannot be played" "$WORK/board.log" && fail "the 4 kHz file was refused: $(cat "$WORK/board.log")"
stop_recording
echo "PASS: unplayable buzzer files neither stop nor stall the board, and say so once"
