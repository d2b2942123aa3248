#!/usr/bin/env bash
# The operator presses B and the horn sounds; once it has ended, B sounds it
# again. Then every kind of WAV file the operator could pick sounds too: 8-
# to 32-bit integer and float samples, mono and stereo, 8 to 96 kHz, a file
# cut short, and a long one, which must not be read into memory whole.
# Heard on a private PulseAudio server whose only output is a null sink,
# recorded from that sink's monitor.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sound.sh"
[ -f "$(dirname "$PROGRAM")/buzzer.wav" ] || fail "no buzzer.wav beside $PROGRAM"

# Fails unless the level between the offsets is that of the horn.
expect_horn() {
    local what=$1 peak rms
    read -r peak rms <<<"$(level "$2" "$3")"
    echo "$what: peak $peak, rms $rms"
    awk -v p="$peak" -v r="$rms" 'BEGIN { exit !(p > 0.3 && r > 0.08) }' ||
        fail "$what: no buzzer sound was heard (peak $peak, rms $rms)"
}

start_display
start_sound_server
start_board
start_recording

quiet_end=$(recorded_bytes)
xdotool key b
sleep 3
first_end=$(recorded_bytes)
xdotool key b
sleep 3
second_end=$(recorded_bytes)
stop_recording

sox -t raw -r $RATE -e signed -b 16 -c $CHANNELS "$RECORDING" "$OUT/buzzer_recording.wav" 2>/dev/null || true

read -r peak rms <<<"$(level 0 "$quiet_end")"
echo "before B: peak $peak, rms $rms"
awk -v p="$peak" 'BEGIN { exit !(p < 0.01) }' || fail "sound before B was pressed (peak $peak)"
expect_horn "first B" "$quiet_end" "$first_end"
expect_horn "B after the horn ended" "$first_end" "$second_end"
echo "PASS: B sounds the buzzer, and sounds it again after it has ended"

rss_kib() {
    awk '/^VmRSS/ { print $2 }' "/proc/$BOARD_PID/status"
}

# Fails unless the recording between the offsets is a clear tone.
expect_tone() {
    local what=$1 peak rms
    read -r peak rms <<<"$(level "$2" "$3")"
    echo "$what: peak $peak, rms $rms"
    awk -v p="$peak" -v r="$rms" 'BEGIN { exit !(p > 0.2 && r > 0.03) }' ||
        fail "$what: the buzzer was silent (peak $peak, rms $rms)"
}

start_recording
variants=(
    "8-bit-mono-8k:-r 8000 -b 8 -e unsigned-integer -c 1"
    "16-bit-stereo-44k:-r 44100 -b 16 -e signed-integer -c 2"
    "24-bit-mono-48k:-r 48000 -b 24 -e signed-integer -c 1"
    "32-bit-stereo-96k:-r 96000 -b 32 -e signed-integer -c 2"
    "float-mono-22k:-r 22050 -b 32 -e floating-point -c 1"
    "double-stereo-11k:-r 11025 -b 64 -e floating-point -c 2"
)
for variant in "${variants[@]}"; do
    name=${variant%%:*}
    # shellcheck disable=SC2086
    sox -n ${variant#*:} "$WORK/$name.wav" synth 1 sine 440 vol 0.7
done
# One second of 16-bit mono cut at 30 000 of its 88 200 sound bytes.
sox -n -r 44100 -b 16 -e signed-integer -c 1 "$WORK/whole.wav" synth 1 sine 440 vol 0.7
head -c $(($(stat -c %s "$WORK/whole.wav") - 88200 + 30000)) "$WORK/whole.wav" >"$WORK/truncated.wav"
variants+=("truncated:")

for variant in "${variants[@]}"; do
    name=${variant%%:*}
    restart_board_with "$WORK/$name.wav"
    from=$(recorded_bytes)
    xdotool key b
    sleep 1.5
    [ "$name" = 16-bit-stereo-44k ] && short_rss=$(rss_kib)
    expect_tone "$name" "$from" "$(recorded_bytes)"
done

# Five minutes of CD sound, 53 MB: played as it is read, not loaded first.
sox -n -r 44100 -b 16 -e signed-integer -c 2 "$WORK/long.wav" synth 300 sine 440 vol 0.7
restart_board_with "$WORK/long.wav"
from=$(recorded_bytes)
xdotool key b
sleep 1.5
long_rss=$(rss_kib)
expect_tone "five-minute file" "$from" "$(recorded_bytes)"
echo "memory 1.5 s into the play: $short_rss KiB for one second of sound, $long_rss KiB for five minutes"
[ $((long_rss - short_rss)) -lt 20000 ] || fail "the long file took $((long_rss - short_rss)) KiB more memory"
stop_recording
echo "PASS: every kind of WAV file sounds, and a long one plays without being loaded whole"
