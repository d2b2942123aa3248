#!/usr/bin/env bash
# The board is resized many times back to back, as a window dragged about on
# a large screen would be, with no window manager to frame it. Brought back
# to its design size it must look exactly as it did at the start. Set
# E2E_SEED to replay one run.
source "$(dirname "$0")/lib.sh"

SEED=${E2E_SEED:-$(date +%s)}
ROUNDS=${E2E_ROUNDS:-3}
RESIZES=40
echo "seed $SEED"
RANDOM=$SEED

start_display 3840x2160
start_board
screenshot burst_before

# The name panels mark where the board is: Home's white on the left edge,
# Visitor's blue towards the right.
check_board() {
    local when=$1 home visitor
    home=$(pixel_at_twips 100 1200)
    visitor=$(pixel_at_twips 7000 1200)
    [ "$home" = "255,255,255" ] && [ "$visitor" = "0,153,255" ] ||
        fail "$when: the board is not drawn at its place (Home $home, Visitor $visitor; seed $SEED)"
}
check_board "at start"

for round in $(seq "$ROUNDS"); do
    for _ in $(seq $RESIZES); do
        xdotool windowsize "$WINDOW" $((100 + RANDOM % 3741)) $((80 + RANDOM % 2081))
    done
    xdotool windowsize "$WINDOW" 632 453
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
    [ "$WIDTH" = 632 ] && [ "$HEIGHT" = 453 ] || fail "the window is $WIDTH x $HEIGHT, not 632 x 453"
    WIN_X=$X
    WIN_Y=$Y
    screenshot "burst_after_$round"
    check_board "after burst $round"
    difference=$(compare -metric AE -fuzz 2% "$OUT/burst_before.png" "$OUT/burst_after_$round.png" null: 2>&1 || true)
    [ "${difference%% *}" = "0" ] ||
        fail "after burst $round the board differs from the start in $difference pixels (seed $SEED)"
done
echo "PASS: after $ROUNDS bursts of $RESIZES resizes the board is drawn as at the start"
