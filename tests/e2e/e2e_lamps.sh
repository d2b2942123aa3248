#!/usr/bin/env bash
# The operator clicks a penalty lamp and sees it light, clicks again and sees
# it dark; tabs to the Home winner box and lights it with Enter.
source "$(dirname "$0")/lib.sh"

start_display
start_board

# Centre of the Home keikoku lamp: its box at (1560, 5700), the lamp 120 in, 255 x 375.
lamp_x=$((1560 + 120 + 127))
lamp_y=$((5700 + 187))
[ "$(pixel_at_twips $lamp_x $lamp_y)" = "64,64,64" ] || fail "the lamp is not dark at start: $(pixel_at_twips $lamp_x $lamp_y)"

xdotool mousemove $((WIN_X + lamp_x / 15)) $((WIN_Y + lamp_y / 15)) click 1
sleep 0.3
screenshot lamp_lit
[ "$(pixel_at_twips $lamp_x $lamp_y)" = "255,0,0" ] || fail "the lamp did not light: $(pixel_at_twips $lamp_x $lamp_y)"

xdotool click 1
sleep 0.3
[ "$(pixel_at_twips $lamp_x $lamp_y)" = "64,64,64" ] || fail "the lamp did not go dark: $(pixel_at_twips $lamp_x $lamp_y)"

# Winner lamp of Home: box (3960, 3240), lamp 120 in, 255 x 375. The clock
# has the focus first; two tabs reach the Home winner box.
win_x=$((3960 + 120 + 127))
win_y=$((3240 + 187))
xdotool mousemove $((WIN_X + 3398 / 15 + 20)) $((WIN_Y + 1500 / 15 + 20)) click 1
xdotool key --window "$WINDOW" Tab Tab Return
sleep 0.3
screenshot winner_lit
[ "$(pixel_at_twips $win_x $win_y)" = "0,192,0" ] || fail "the winner lamp did not light: $(pixel_at_twips $win_x $win_y)"
echo "PASS: lamps light and darken by click and by Tab and Enter"
