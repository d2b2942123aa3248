#!/usr/bin/env bash
# On a first run the operator presses F2 and Enter: the options dialog
# closes with OK and the store holds every key with its default.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options.sh"

start_display
start_board
[ -e "$STORE" ] && fail "the store exists before any OK"

xdotool key F2
find_dialog Options
screenshot options_open
xdotool key Return
wait_closed Options
[ -f "$STORE" ] || fail "OK wrote no settings file"

program_dir=$(cd "$(dirname "$PROGRAM")" && pwd)
expected=(
    ColorSettings TimeColor 33023
    ColorSettings LEDBack 0
    ColorSettings HoldColor 255
    ColorSettings ScoreColor 49152
    ColorSettings FormBack 4210752
    ColorSettings LEDSelected 4210752
    ColorSettings BorderColor 16777215
    ColorSettings LEDSelectedWidth 0
    KeySettings StartStopPeriodClockKey 83
    KeySettings ResetPeriodClockKey 82
    KeySettings ClearKey 46
    KeySettings BuzzerKey 66
    KeySettings NextMatchKey 78
    KeySettings BuzzerFile "$program_dir/buzzer.wav"
    KeySettings NumLockForce 0
    KeySettings IsKeyCode Yes
    TextSettings TitleText Home
    TextSettings HomeText Home
    TextSettings VisitorText Visitor
    PicSettings HomePic ""
    PicSettings VisitorPic ""
    PicSettings LEDType 0
)
for ((i = 0; i < ${#expected[@]}; i += 3)); do
    section=${expected[i]} key=${expected[i + 1]} want=${expected[i + 2]}
    grep -q "^$key=" "$STORE" || fail "$section/$key was not written: $(cat "$STORE")"
    [ "$(stored "$section" "$key")" = "$want" ] ||
        fail "$section/$key is '$(stored "$section" "$key")', not '$want'"
done
echo "PASS: F2 and Enter store every key with its default"
