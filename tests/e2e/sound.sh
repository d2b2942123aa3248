# Shared steps of the buzzer's end-to-end tests: a PulseAudio server of our
# own whose only output is a null sink, and recordings of that sink's
# monitor. Sourced after lib.sh.

for tool in pulseaudio pactl parec sox od Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 ||
        fail "$tool is not installed (packages: pulseaudio pulseaudio-utils sox xvfb xdotool)"
done

RATE=44100
CHANNELS=2
BYTES_PER_SECOND=$((RATE * CHANNELS * 2))

# A sound server of our own, also when run as root (which needs
# --system=false and a runtime folder of its own, set up by lib.sh).
start_sound_server() {
    local socket="$XDG_RUNTIME_DIR/pulse-native"
    export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
    export PULSE_SERVER="unix:$socket"
    unset PULSE_SINK PULSE_SOURCE
    pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit \
        --use-pid-file=no --log-target=stderr \
        -L "module-null-sink sink_name=zsink rate=$RATE channels=$CHANNELS" \
        -L "module-native-protocol-unix socket=$socket auth-anonymous=1" \
        >"$WORK/pulseaudio.log" 2>&1 &
    PIDS+=($!)
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    pactl info >/dev/null 2>&1 || fail "PulseAudio did not start: $(cat "$WORK/pulseaudio.log")"
    pactl set-default-sink zsink
}

# Records the sink's monitor as raw 16-bit stereo into $RECORDING.
start_recording() {
    RECORDING="$WORK/recording.raw"
    parec -d zsink.monitor --raw --format=s16le --rate=$RATE --channels=$CHANNELS --latency-msec=20 \
        >"$RECORDING" 2>"$WORK/parec.log" &
    PAREC_PID=$!
    PIDS+=("$PAREC_PID")
    # The stream takes a moment to start; half a second of silence first.
    for _ in $(seq 100); do
        [ "$(recorded_bytes)" -ge $((BYTES_PER_SECOND / 2)) ] && return 0
        sleep 0.1
    done
    fail "nothing was recorded from the null sink: $(cat "$WORK/parec.log")"
}

recorded_bytes() {
    local bytes
    bytes=$(stat -c %s "$RECORDING")
    echo $((bytes / 4 * 4))
}

stop_recording() {
    kill -INT "$PAREC_PID" 2>/dev/null || true
    wait "$PAREC_PID" 2>/dev/null || true
}

# "peak rms" of the recording between two byte offsets, full scale 1.
level() {
    local from=$1 to=$2
    tail -c +$((from + 1)) "$RECORDING" | head -c $((to - from)) |
        sox -t raw -r $RATE -e signed -b 16 -c $CHANNELS - -n stat 2>&1 |
        awk '/^Maximum amplitude/ { peak = $3 } /^Minimum amplitude/ { low = -$3 }
             /^RMS +amplitude/ { rms = $3 }
             END { if (low > peak) peak = low; printf "%s %s\n", peak + 0, rms + 0 }'
}

# Milliseconds of the recording between two byte offsets that hold sound
# (5 ms pieces whose peak is above a tenth of full scale), then where the
# first and the last of them start, in ms from the first offset.
heard_ms() {
    local from=$1 to=$2
    head -c "$to" "$RECORDING" | tail -c $((to - from)) | od -An -v -td2 -w4 |
        awk -v frames=$((RATE / 200)) '
            { l = $1 < 0 ? -$1 : $1; r = $2 < 0 ? -$2 : $2; if (l > peak) peak = l; if (r > peak) peak = r
              if (++n == frames) {
                  if (peak > 3277) { heard += 5; if (first == "") first = at; last = at }
                  n = 0; peak = 0; at += 5 } }
            END { print heard + 0, first + 0, last + 0 }'
}

# A board on a buzzer file of its own, through the settings store.
restart_board_with() {
    if [ -n "${BOARD_PID:-}" ]; then
        kill "$BOARD_PID" 2>/dev/null || true
        wait "$BOARD_PID" 2>/dev/null || true
    fi
    mkdir -p "$XDG_CONFIG_HOME/Zembrak"
    printf '[KeySettings]\nBuzzerFile=%s\n' "$1" >"$XDG_CONFIG_HOME/Zembrak/Zembrak.conf"
    start_board "${@:2}"
}
