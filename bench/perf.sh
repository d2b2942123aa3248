#!/usr/bin/env bash
# `make perf`: measures the real board on an Xvfb screen of 1920 x 1080 that
# it starts itself, and writes the figures, the machine and the method to
# docs/PERFORMANCE.md.
#
#   bench/perf.sh [PROGRAM [PROBE [OUTPUT]]]
#
# PERF_SECONDS shortens the two CPU windows (30 s each) for a quick look.
# PERF_BEFORE, a program or a commit of this repository (built once beside
# PROGRAM), is measured with the running clock in turns with PROGRAM,
# PERF_ROUNDS times (3 unless given); empty leaves it out.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
PROGRAM=$(realpath "${1:-$ROOT/build/bin/zembrak}")
PROBE=$(realpath "${2:-$ROOT/build/bin/perf_probe}")
OUTPUT=${3:-$ROOT/docs/PERFORMANCE.md}
SECONDS_EACH=${PERF_SECONDS:-30}
STARTS=7
PRESSES=20

WORK=$(mktemp -d)
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "perf: $*" >&2
    exit 1
}

# A clean settings store, data folder and runtime folder: the figures are the
# defaults', and the contests the runs end stay out of the operator's results.
export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_RUNTIME_DIR="$WORK/runtime" QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

for n in $(seq 150 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "no X display could be started"

# A session bus of its own, as every desktop has: without one, Qt's
# accessibility bridge runs dbus-launch at every start.
if command -v dbus-daemon >/dev/null; then
    dbus-daemon --session --nofork --address="unix:path=$WORK/bus" >"$WORK/dbus.log" 2>&1 &
    PIDS+=($!)
    for _ in $(seq 50); do
        [ -S "$WORK/bus" ] && break
        sleep 0.1
    done
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/bus"
fi

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { print lo "–" hi }'; }

# CPU nanoseconds and context switches of every thread of a process.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { printf "%d", s }'; }
switches() {
    cat /proc/"$1"/task/*/status | awk '/^(non)?voluntary_ctxt_switches/ { s += $2 } END { print s }'
}
# CPU share (%) and wake-ups per second over SECONDS_EACH seconds.
measure_cpu() {
    local pid=$1 ns0 sw0 t0 ns1 sw1 t1
    ns0=$(cpu_ns "$pid") sw0=$(switches "$pid") t0=$(date +%s%N)
    sleep "$SECONDS_EACH"
    ns1=$(cpu_ns "$pid") sw1=$(switches "$pid") t1=$(date +%s%N)
    awk -v c=$((ns1 - ns0)) -v w=$((sw1 - sw0)) -v t=$((t1 - t0)) \
        'BEGIN { printf "%.3f %.1f %.1f\n", 100 * c / t, w * 1e9 / t, c / 1e6 }'
}

# Start-up of program $1, $STARTS times; prints the medians and ranges of
# the map time, the first-paint time and the CPU used up to the map.
measure_startup() {
    : >"$WORK/startup"
    for _ in $(seq "$STARTS"); do
        "$PROBE" startup "$1" >>"$WORK/startup" 2>>"$WORK/probe.log" || fail "start-up: $(cat "$WORK/probe.log")"
        sleep 0.5
    done
    for column in 2 4 6; do
        printf '%s %s ' "$(awk -v c=$column '{ print $c }' "$WORK/startup" | median)" \
            "$(awk -v c=$column '{ print $c }' "$WORK/startup" | range)"
    done
    echo
}

# Opens the board of program $1 from its start screen (which every version
# has) and sets BOARD and WINDOW.
open_board() {
    "$1" >"$WORK/board.log" 2>&1 &
    BOARD=$!
    PIDS+=("$BOARD")
    local splash
    splash=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zembrak$' | head -n 1) || fail "no start screen"
    sleep 0.5
    xdotool mousemove --window "$splash" 200 40 click 1
    WINDOW=
    for _ in $(seq 100); do
        WINDOW=$(xdotool search --onlyvisible --name '^Zembrak$' 2>/dev/null | grep -vx "$splash" | head -n 1) || true
        [ -n "$WINDOW" ] && break
        sleep 0.1
    done
    [ -n "$WINDOW" ] || fail "no board window"
    xdotool windowfocus --sync "$WINDOW"
}

# CPU and wake-ups of program $1 with the clock and a Home osaekomi running.
running_cpu() {
    open_board "$1"
    sleep 3
    xdotool key --window "$WINDOW" s Left
    sleep 1
    measure_cpu "$BOARD"
    kill -TERM "$BOARD"
    wait "$BOARD" 2>/dev/null || true
}

# The program before: a path as it stands, or a commit built once.
before_program() {
    [ -x "$PERF_BEFORE" ] && { realpath "$PERF_BEFORE"; return; }
    local dir
    dir="$(dirname "$PROGRAM")/../perf-before/$PERF_BEFORE"
    if [ ! -x "$dir/build/bin/zembrak" ]; then
        echo "perf: building $PERF_BEFORE in $dir" >&2
        rm -rf "$dir/src"
        mkdir -p "$dir/src"
        git -C "$ROOT" archive "$PERF_BEFORE" | tar -x -C "$dir/src" || return 1
        cmake -S "$dir/src" -B "$dir/build" -G Ninja >/dev/null &&
            cmake --build "$dir/build" --target zembrak >/dev/null || return 1
    fi
    realpath "$dir/build/bin/zembrak"
}

echo "perf: start-up, $STARTS runs"
read -r mapped_median mapped_range painted_median painted_range cpu_median cpu_range < <(measure_startup "$PROGRAM")

echo "perf: idle and running CPU, $SECONDS_EACH s each"
# The run begins at the start screen; a click on its name opens the board.
open_board "$PROGRAM"
sleep 3
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
read -r idle_cpu idle_wakeups idle_ms < <(measure_cpu "$BOARD")

# The contest clock runs with a Home osaekomi.
xdotool key --window "$WINDOW" s Left
sleep 1
read -r running_cpu running_wakeups running_ms < <(measure_cpu "$BOARD")
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
xdotool key --window "$WINDOW" s r
sleep 0.5

echo "perf: key-to-screen latency, $PRESSES presses"
# A click selects the Home keikoku lamp; each Enter then toggles it.
xdotool mousemove --window "$WINDOW" 120 392 click 1
sleep 0.3
"$PROBE" latency "$WINDOW" "$PRESSES" >"$WORK/latency" 2>>"$WORK/probe.log" || fail "latency"
latency_median=$(median <"$WORK/latency")
latency_range=$(range <"$WORK/latency")

peak_rss_kib=$(awk '/^VmHWM/ { print $2 }' /proc/"$BOARD"/status)
rss_kib=$(awk '/^VmRSS/ { print $2 }' /proc/"$BOARD"/status)
threads=$(ls /proc/"$BOARD"/task | wc -l)
kill -TERM "$BOARD"
quit_status=0
wait "$BOARD" || quit_status=$?

# The floor: a minimal Qt program with a 50 ms timer only while its clock runs.
FLOOR=$(dirname "$PROBE")/perf_floor
floor_row="| Minimal Qt 6 window (perf_floor) | (not built) | | | | |"
if [ -x "$FLOOR" ]; then
    echo "perf: the same for the minimal Qt window"
    read -r f_mapped f_mapped_range _ _ _ _ < <(measure_startup "$FLOOR")
    "$FLOOR" >"$WORK/floor.log" 2>&1 &
    FLOOR_PID=$!
    PIDS+=("$FLOOR_PID")
    FLOOR_WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^Floor$' | head -n 1) || fail "no floor window"
    sleep 3
    read -r f_idle f_idle_wakeups _ < <(measure_cpu "$FLOOR_PID")
    xdotool key --window "$FLOOR_WINDOW" s
    sleep 1
    read -r f_running f_running_wakeups _ < <(measure_cpu "$FLOOR_PID")
    f_peak_kib=$(awk '/^VmHWM/ { print $2 }' /proc/"$FLOOR_PID"/status)
    kill -TERM "$FLOOR_PID"
    wait "$FLOOR_PID" 2>/dev/null || true
    floor_row="| Minimal Qt 6 window (perf_floor) | $f_mapped ms ($f_mapped_range) | $f_idle % ($f_idle_wakeups/s) | \
$f_running % ($f_running_wakeups/s) | $(awk -v k="$f_peak_kib" 'BEGIN { printf "%.1f", k / 1024 }') MiB |"
fi

# This program and the one before, in turns, so that the machine's moods
# fall on both alike.
before_section=
if [ -n "${PERF_BEFORE:-}" ]; then
    if BEFORE=$(before_program); then
        echo "perf: running CPU in turns with $PERF_BEFORE, ${PERF_ROUNDS:-3} rounds"
        rows=
        : >"$WORK/turns"
        for round in $(seq "${PERF_ROUNDS:-3}"); do
            read -r b_cpu b_wakeups _ < <(running_cpu "$BEFORE")
            read -r n_cpu n_wakeups _ < <(running_cpu "$PROGRAM")
            echo "$b_cpu $n_cpu" >>"$WORK/turns"
            rows+="| $round | $b_cpu % ($b_wakeups/s) | $n_cpu % ($n_wakeups/s) |"$'\n'
        done
        b_median=$(awk '{ print $1 }' "$WORK/turns" | median)
        n_median=$(awk '{ print $2 }' "$WORK/turns" | median)
        before_section="## Against the board before the round

The clock and a Home osaekomi running, $SECONDS_EACH s a turn, the board as built at \`$PERF_BEFORE\`
(\`PERF_BEFORE\`) and this one in turns on the same display.

| Round | Before | This build |
|---|---|---|
${rows}| Median | $b_median % | $n_median % |
"
    else
        before_section="## Against the board before the round

\`$PERF_BEFORE\` could not be built here; nothing was measured.
"
    fi
fi

# What a tick costs inside the program, from the benchmark beside the probe.
TICK_BENCH=$(dirname "$PROBE")/bench_Tick
tick_figures="(bench_Tick was not built)"
if [ -x "$TICK_BENCH" ]; then
    tick_figures=$(QT_QPA_PLATFORM=offscreen "$TICK_BENCH" --benchmark_min_time=0.5 2>/dev/null | grep '^BM_' || true)
fi

cpu_model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
memory=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)
commit=$(git -C "$ROOT" rev-parse --short HEAD 2>/dev/null || echo unknown)
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

mkdir -p "$(dirname "$OUTPUT")"
cat >"$OUTPUT" <<EOF
# Performance

Measured by \`make perf\` (bench/perf.sh) on $(date -u '+%Y-%m-%d %H:%M UTC'), commit $commit.

| | Figure | Target |
|---|---|---|
| Start-up to the first visible window (median of $STARTS) | $mapped_median ms (range $mapped_range) | ≤ 50 ms |
| Start-up to the first painted window (median of $STARTS) | $painted_median ms (range $painted_range) | |
| CPU used by the start-up up to the map (median of $STARTS) | $cpu_median ms (range $cpu_range) | |
| CPU while idle ($SECONDS_EACH s) | $idle_cpu % ($idle_ms ms of CPU), $idle_wakeups wake-ups/s | < 0.03 %, < 1 wake-up/s |
| CPU while the clock runs with an osaekomi ($SECONDS_EACH s) | $running_cpu % ($running_ms ms of CPU), $running_wakeups wake-ups/s | ≤ 0.12 % |
| Peak RSS | $(mib "$peak_rss_kib") MiB (resident at the end $(mib "$rss_kib") MiB, $threads threads) | ≤ 36 MiB |
| Key-to-screen latency (median of $PRESSES) | $latency_median ms (range $latency_range) | |
| Quit on SIGTERM | exit status $quit_status | 0 |

## Beside the floor

Measured the same way in the same run: start-up to the first visible window (median of $STARTS), CPU and
wake-ups while idle and while the clock runs ($SECONDS_EACH s each), peak RSS.

| | Start-up | Idle CPU | Running CPU | Peak RSS |
|---|---|---|---|---|
| Zembrak | $mapped_median ms ($mapped_range) | $idle_cpu % ($idle_wakeups/s) | $running_cpu % ($running_wakeups/s) | $(mib "$peak_rss_kib") MiB |
$floor_row

${before_section}
## Inside a tick

\`bench_Tick\` (Google Benchmark, offscreen): one pass of the event loop with a tick that changes nothing,
and one pass of an idle board's loop, whose tick sleeps.

\`\`\`
$tick_figures
\`\`\`

## Where the time goes (looked at by hand on 2026-12-07 and 2026-12-08, same machine)

- The idle tick: \`strace -c\` of the board shows one \`poll\` per tick and no other system call; callgrind
  puts a refresh that changes nothing at about 900 instructions. What an idle tick cost was the process
  being woken 20 times a second. The tick now sleeps after a refresh that finds no match timer running,
  and any write to a match timer wakes it (\`tst_IdleTick\` compares such a board with one that refreshes
  every 50 ms, event by event, over seeded storms of keys, clicks and ticks).
- The running clock used to keep its 20 ticks a second. On this virtual machine a bare C loop that sleeps
  in \`poll\` for 50 ms costs about 20 µs per wake-up under a load of 4 and about 50 µs on a quiet machine
  (deeper idle states), so 20 wake-ups a second cost 0.04 to 0.1 % before any work. The board's wake-ups
  cost about 85 µs each under a load of 4 with its window unmapped (no painting); the difference is Qt's
  event loop running with cold caches: warm, a pass costs under a microsecond (above).
  The two repaints a second (clock and osaekomi digits, plus a one-pixel strip of the caption below the
  clock) add about 0.35 ms a second.
- So the running tick now wakes only where something shows. The timers move by the same step every tick,
  so after each refresh the tick works out the first 50 ms grid point at which a refresh would show a
  different caption on the clock or an osaekomi box (with the refresh's own rounding, and the box held at
  99), or find the time out, and sleeps until then; any write to a match timer brings it back to the next
  grid point. The clock and one osaekomi make about two wake-ups a second. The time-out is noticed on the
  same grid point as before, so the times frozen at a time-out are unchanged: \`tst_IdleTick\` compares
  the board with one that refreshes every 50 ms after every tick of long seeded contests (holds past 99 s,
  times set to a ten-thousandth off a tick, time-outs, typed times), and fails if the plan wakes one tick
  late.
- The running clock, looked at again (2026-12-08). Before the day's files went off the board's thread the
  same run measured 0.211 % (9.1 wake-ups a second) beside a minimal window's 0.267 %. Callgrind over 20 s
  of a running clock and hold counted 7.45 M instructions: a whole repaint of the clock and of the hold
  counter every second, the caption strip that overlaps the clock by one pixel repainted with them
  (19 %), and the saved contest built as a QJsonObject every 5 s (12 %). The LED displays now repaint
  the digits that changed only, and the saved contest is written out directly, byte for byte as
  QJsonDocument writes it: 4.57 M instructions, a third of them the first drawing of each digit's
  glyph, which is cached after. What is left is mostly not ours: \`perf record\` puts a third of the
  time in the kernel, a third in Qt's event and repaint machinery, 15 % in the disk writer's save every
  5 s (open, write, fdatasync, rename) and 5 % in the program's own code.
- Images over the X connection (2026-12-08). Through MIT-SHM, Qt waits for the X server to be done with
  a region before painting it again: with the clock and a hold repainting the same two digits, one
  round trip a second, which wakes the X event thread and the board's thread (\`strace\` shows a
  GetInputFocus before one of the two repaints every second). The board now sets \`QT_XCB_NO_MITSHM\`
  unless the site set it (\`ZEMBRAK_XCB_SHM=1\` keeps shared memory): three turns of 20 s with and
  without gave 29–37 ms against 24–25 ms of CPU, and 5.3 against 3.2 wake-ups a second. The price is
  on whole-window repaints: 20 resizes of a 1900 × 1060 board cost 139–143 ms of the board's CPU with
  shared memory and 226–266 ms without, about 5 ms more a repaint, where an operator resizes or
  recolours the board. \`e2e_clock\` checks that the X event thread sleeps through 4 s of a running
  clock and hold. Qt's plain event dispatcher (\`QT_NO_GLIB=1\`) and painting at once instead of on the
  next pass were tried as well and made no difference that these turns could see.
- Start-up: callgrind of a start to the first frame puts about a quarter in the dynamic loader, a quarter
  in fontconfig's initialisation, and the rest in Qt's platform set-up and the first paint. Qt Multimedia
  and its libraries add about a millisecond of relocation and are loaded but not started: the sound
  service is first contacted at the first buzz.

## Machine

- CPU: $cpu_model, $(nproc) cores; memory $memory
- Kernel $(uname -r); Qt $qt_version; X server Xvfb at 1920 × 1080 × 24
- Load average (1, 5, 15 min) before the CPU windows: $load_before; after: $load_after.
  Other work may share these cores. It slows the start-up; the CPU per wake-up is, if anything, higher on
  a quiet machine, whose idle cores sleep deeper.

## Method

- The program runs as built ($(basename "$PROGRAM"), $(file -b "$PROGRAM" | cut -d, -f1)), on a private Xvfb with
  no window manager and no sound server, with a private session bus and an empty
  settings store. The sound is opened only at the first buzz, so a sound server changes none of the
  figures (checked by hand with a PulseAudio null sink: no client connection, the same RSS and threads).
- Start-up: \`perf_probe startup\` watches the root window for the first MapNotify of a top-level window, from
  just before \`fork\`/\`exec\`; "painted" is when the screen under that window first shows more than one colour. The first window of a run is the start screen; the CPU and latency figures are taken on the board, opened from it by a click.
  Each run is ended with SIGTERM.
- CPU: the sum of the on-CPU nanoseconds of every thread (\`/proc/PID/task/*/schedstat\`) over $SECONDS_EACH s
  of wall time, after 3 s of settling; wake-ups are the voluntary and involuntary context switches of every
  thread over the same window. Idle is the board as loaded; running is after \`s\` and \`Left\`.
- Peak RSS: \`VmHWM\` of \`/proc/PID/status\` after all of the above.
- Latency: with the Home keikoku lamp selected by a click, \`perf_probe latency\` presses Enter through XTest
  (toggling the lamp) and polls \`XGetImage\` of the window every 0.25 ms until it differs from the image
  before the press; 200 ms pass between presses.
EOF
echo "perf: wrote $OUTPUT"
cat "$OUTPUT"
