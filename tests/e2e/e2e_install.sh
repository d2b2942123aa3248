#!/usr/bin/env bash
# `cmake --install` into a fresh prefix gives a program that runs through its
# bin/ link and finds its buzzer, manual and overlay page in its own folder, with a valid
# desktop entry and AppStream data.
source "$(dirname "$0")/lib.sh"

BUILD=$(cd "$(dirname "$PROGRAM")/.." && pwd)
PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "install: $(cat "$WORK/install.log")"

FOLDER="$PREFIX/lib/zembrak"
[ -L "$PREFIX/bin/zembrak" ] || fail "bin/zembrak is not a link"
[ "$(readlink -f "$PREFIX/bin/zembrak")" = "$(readlink -f "$FOLDER/zembrak")" ] || fail "bin/zembrak points elsewhere"
for file in zembrak buzzer.wav zembrakhelpfile.rtf overlay.html; do
    [ -s "$FOLDER/$file" ] || fail "$file is not installed beside the program"
done
[ -s "$PREFIX/share/icons/hicolor/256x256/apps/org.zembrak.Zembrak.png" ] || fail "no icon"
desktop-file-validate "$PREFIX/share/applications/org.zembrak.Zembrak.desktop" || fail "invalid desktop entry"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$PREFIX/share/metainfo/org.zembrak.Zembrak.metainfo.xml" ||
        fail "invalid AppStream data"
fi

# The installed program, run through its link, with its file accesses traced.
cat >"$WORK/traced.sh" <<TRACED
#!/usr/bin/env bash
exec strace -f -qq -e trace=%file -o "$WORK/trace" "$PREFIX/bin/zembrak" "\$@"
TRACED
chmod +x "$WORK/traced.sh"
PROGRAM="$WORK/traced.sh"

start_display
PORT=$((20000 + RANDOM % 20000))
start_splash --feed "127.0.0.1:$PORT"
for pid in $(pgrep -P "$BOARD_PID"); do PIDS=("$pid" "${PIDS[@]}"); done

# Help on the start screen (the button at 3120, 2520 twips in the frame at 120, 0).
xdotool mousemove --window "$SPLASH" $(((120 + 3120 + 600) / 15)) $(((2520 + 180) / 15)) click 1
HELP=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zembrak Help$' | head -n 1) || fail "Help did not open"
# A file the program reached without an error, as the trace shows it.
found() {
    local _
    for _ in $(seq 150); do
        grep -F "\"$1\"" "$WORK/trace" 2>/dev/null | grep -vq '= -1' && return 0
        sleep 0.2
    done
    return 1
}
found "$FOLDER/zembrakhelpfile.rtf" || fail "the installed program did not read its manual: $(grep -F zembrakhelpfile "$WORK/trace")"

# The manual opens over the start screen; the operator moves it aside.
xdotool windowmove --sync "$HELP" 0 600
click_through_splash
xdotool key b
found "$FOLDER/buzzer.wav" || fail "the installed program did not find its buzzer"
page=$(curl -s --max-time 5 "http://127.0.0.1:$PORT/") || fail "the installed program's feed did not answer"
grep -q '<html' <<<"$page" || fail "the installed program did not serve its overlay page: $page"
echo "PASS: the installed program finds its manual, its buzzer and its overlay page"
