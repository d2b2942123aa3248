#!/usr/bin/env bash
# A buzzer file that cannot be played (a rate of a few hertz, which audio
# services divide by, or no sound at all) neither kills the board nor holds
# up its clock, at B or at the end of the contest time; the operator is
# told once on stderr. A file at an ordinary rate the device may refuse
# (4 kHz) is converted and heard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sound.sh"
command -v curl >/dev/null || fail "curl is needed (scripts/install-deps.sh installs it)"

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

# Time in ms.
now_ms() { date +%s%3N; }

# Runs the contest clock from 0:04 to its end with B pressed on the way,
# polling the feed; fails if the board dies or its clock falls out of step.
run_contest() {
    local what=$1 port=$2 pressed=0 start last_poll gap max_gap=0 clock previous="" t
    local -a changes=()
    xdotool mousemove --window "$WINDOW" $(((3398 + 2685 / 2) / 15)) $(((1500 + 1140 / 2) / 15)) click 1
    sleep 0.3
    xdotool type --delay 50 '0.04'
    xdotool key Return
    sleep 0.3
    xdotool key s
    start=$(now_ms)
    last_poll=$start
    while :; do
        t=$(now_ms)
        gap=$((t - last_poll))
        last_poll=$t
        [ "$gap" -gt "$max_gap" ] && max_gap=$gap
        clock=$(curl -s --max-time 2 "http://127.0.0.1:$port/state" | sed -n 's/.*"clock":"\([^"]*\)".*/\1/p')
        kill -0 "$BOARD_PID" 2>/dev/null || fail "$what: the board died: $(tail -n 5 "$WORK/board.log")"
        [ -n "$clock" ] || fail "$what: the feed did not answer"
        if [ "$clock" != "$previous" ]; then
            [ -n "$previous" ] && changes+=("$t")
            previous=$clock
        fi
        if [ "$pressed" = 0 ] && [ $((t - start)) -gt 1500 ]; then
            xdotool key b
            pressed=1
        fi
        [ $((t - start)) -gt 6000 ] && break
        sleep 0.02
    done
    [ "$previous" = "0:00" ] || fail "$what: the clock shows $previous, not 0:00, after its time"
    [ ${#changes[@]} -ge 4 ] || fail "$what: the clock changed only ${#changes[@]} times in 4 s"
    # Each change seen as late as the polling allows, and no later.
    local k=0 offset low="" high=""
    for t in "${changes[@]}"; do
        offset=$((t - k * 1000))
        [ -z "$low" ] || [ "$offset" -lt "$low" ] && low=$offset
        [ -z "$high" ] || [ "$offset" -gt "$high" ] && high=$offset
        k=$((k + 1))
    done
    echo "$what: ${#changes[@]} changes of the clock, spread $((high - low)) ms, polls at most $max_gap ms apart"
    [ $((high - low)) -le $((100 + max_gap)) ] ||
        fail "$what: the clock fell out of step by $((high - low)) ms (polls at most $max_gap ms apart)"
}

PORT=$((20000 + RANDOM % 20000))
wav_at_rate "$WORK/rate10.wav" 10
wav_at_rate "$WORK/rate40.wav" 40
printf 'RIFF but no sound at all' >"$WORK/words.wav"
for name in rate10 rate40 words; do
    restart_board_with "$WORK/$name.wav" --feed "127.0.0.1:$PORT"
    run_contest "$name" "$PORT"
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
