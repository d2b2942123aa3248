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

# The name panels mark where the board is: Home's white on the left edge,
# Visitor's blue towards the right.
check_board() {
    local when=$1 home visitor
    home=$(pixel_at_twips 100 1200)
    visitor=$(pixel_at_twips 7000 1200)
    [ "$home" = "255,255,255" ] && [ "$visitor" = "0,153,255" ] ||
        fail "$when: the board is not drawn at its place (Home $home, Visitor $visitor; seed $SEED)"
}
# Pixels differing between two screenshots, within a little tolerance.
pixels_differing() {
    local difference
    difference=$(compare -metric AE -fuzz 2% "$OUT/$1.png" "$OUT/$2.png" null: 2>&1 || true)
    echo "${difference%% *}"
}

# The reference: the board at its design size once it has settled.
screenshot burst_before
for _ in $(seq 20); do
    sleep 0.5
    screenshot burst_settled
    [ "$(pixels_differing burst_before burst_settled)" = 0 ] && break
    mv "$OUT/burst_settled.png" "$OUT/burst_before.png"
done
check_board "at start"

for round in $(seq "$ROUNDS"); do
    for _ in $(seq $RESIZES); do
        xdotool windowsize "$WINDOW" $((100 + RANDOM % 3741)) $((80 + RANDOM % 2081))
    done
    xdotool windowsize "$WINDOW" 632 453
    # A slow machine may take a while to catch up with the burst.
    for _ in $(seq 20); do
        sleep 0.5
        eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
        WIN_X=$X
        WIN_Y=$Y
        screenshot "burst_after_$round"
        difference=$(pixels_differing burst_before "burst_after_$round")
        [ "$difference" = 0 ] && break
    done
    [ "$WIDTH" = 632 ] && [ "$HEIGHT" = 453 ] || fail "the window is $WIDTH x $HEIGHT, not 632 x 453"
    check_board "after burst $round"
    [ "$difference" = 0 ] ||
        fail "after burst $round the board differs from the start in $difference pixels (seed $SEED)"
done
echo "PASS: after $ROUNDS bursts of $RESIZES resizes the board is drawn as at the start"
