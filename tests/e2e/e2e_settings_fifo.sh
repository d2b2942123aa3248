#!/usr/bin/env bash
# A FIFO where the settings file belongs: the board still opens, on its
# default settings, and says once on stderr why.
source "$(dirname "$0")/lib.sh"

mkdir -p "$XDG_CONFIG_HOME/Zembrak"
mkfifo "$XDG_CONFIG_HOME/Zembrak/Zembrak.conf"
start_display
start_board
[ "$(pixel_at_twips 100 1200)" = "255,255,255" ] || fail "the board is not on its default colours"
lines=$(grep -c "Zembrak.conf is not a regular file" "$WORK/board.log" || true)
[ "$lines" = 1 ] || fail "expected one line about the store on stderr, got $lines: $(cat "$WORK/board.log")"
[ -p "$XDG_CONFIG_HOME/Zembrak/Zembrak.conf" ] || fail "the FIFO was replaced"
echo "PASS: a FIFO as the settings store leaves the board on its defaults"
