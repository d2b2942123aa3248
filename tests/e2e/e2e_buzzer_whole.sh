#!/usr/bin/env bash
# The whole buzzer sound is heard, every time: short beeps of 0.1 to 1 s,
# each pressed with B ten times on a freshly started board, ten times in a
# row within one run (a press just after the sound has ended must sound it
# again), and at the automatic end of the contest time. Recorded from a
# PulseAudio null sink; every play must hold at least 90 % of the file's
# length at a clear amplitude. BUSY=1 runs two busy loops alongside.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sound.sh"

start_display
start_sound_server
start_recording
if [ -n "${BUSY:-}" ]; then
    for _ in 1 2; do
        yes >/dev/null &
        PIDS+=($!)
    done
fi

# name:length in seconds:sox format options. Several variants, so that the
# rate the sink plays at is not always that of the file.
files=(
    "beep100:0.1:-r 22050 -b 16 -e signed-integer -c 1"
    "beep300:0.3:-r 44100 -b 32 -e floating-point -c 1"
    "beep500:0.5:-r 48000 -b 16 -e signed-integer -c 2"
    "beep1000:1.0:-r 8000 -b 8 -e unsigned-integer -c 1"
)
FRESH=${FRESH:-10}
IN_A_ROW=${IN_A_ROW:-10}
failures=0

# Plays to check once all is recorded: the recording reaches its file late,
# so each play is measured afterwards over the time up to the next press.
plays=()
check_play() {
    plays+=("$1|$2|$3|$4")
}

for entry in "${files[@]}"; do
    IFS=: read -r name seconds options <<<"$entry"
    ms=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')
    # shellcheck disable=SC2086
    sox -n $options "$WORK/$name.wav" synth "$seconds" sine 440 vol 0.7
    # Time for the sound, the sink's latency and Done to come back.
    wait_s=$(awk -v s="$seconds" 'BEGIN { print s + 0.9 }')

    for run in $(seq "$FRESH"); do
        restart_board_with "$WORK/$name.wav"
        from=$(recorded_bytes)
        xdotool key b
        sleep "$wait_s"
        check_play "$name fresh start $run" "$from" "$ms" "$wait_s"
    done

    for press in $(seq "$IN_A_ROW"); do
        from=$(recorded_bytes)
        xdotool key b
        sleep "$wait_s"
        check_play "$name press $press in a row" "$from" "$ms" "$wait_s"
    done

    # The end of a contest time of 1 s, typed on the clock.
    xdotool mousemove --window "$WINDOW" $(((3398 + 2685 / 2) / 15)) $(((1500 + 1140 / 2) / 15)) click 1
    sleep 0.3
    xdotool type --delay 50 '0.01'
    xdotool key Return
    sleep 0.3
    xdotool key s
    from=$(recorded_bytes)
    timeout_wait_s=$(awk -v s="$wait_s" 'BEGIN { print s + 1.2 }')
    sleep "$timeout_wait_s"
    check_play "$name at the end of the contest time" "$from" "$ms" "$timeout_wait_s"
done

sleep 2
stop_recording
for play in "${plays[@]}"; do
    IFS='|' read -r what from ms wait_s <<<"$play"
    to=$(awk -v f="$from" -v s="$wait_s" -v b="$BYTES_PER_SECOND" 'BEGIN { printf "%d", f + int(s * b / 4) * 4 }')
    read -r heard first last <<<"$(heard_ms "$from" "$to")"
    if [ $((heard * 10)) -lt $((ms * 9)) ]; then
        echo "SHORT: $what: $heard ms of $ms ms heard, from $first to $last ms after the press"
        failures=$((failures + 1))
    else
        echo "$what: $heard ms of $ms ms heard, from $first to $last ms after the press"
    fi
done
[ "$failures" -eq 0 ] || fail "$failures plays were silent or cut short"
echo "PASS: every play of every beep was heard whole"
