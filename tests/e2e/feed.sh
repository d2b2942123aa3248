# Reading the live feed in the end-to-end tests, on 127.0.0.1:$PORT.
# Sourced after lib.sh.

state() { curl -s --max-time 2 "http://127.0.0.1:$PORT/state"; }

# One field of the state, as JSON: field '["home"]["hold"]'.
field() {
    state | node -e 'const s = JSON.parse(require("fs").readFileSync(0, "utf8"));
        console.log(JSON.stringify(eval("s" + process.argv[1])));' "$1"
}

# Waits (at most $2 seconds) until the feed's field $1 reads $3.
wait_for() {
    local deadline=$((SECONDS + $2))
    until [ "$(field "$1")" = "$3" ]; do
        [ $SECONDS -lt $deadline ] || fail "$1 never became $3: $(state)"
        sleep 0.1
    done
}

# Waits for the feed to answer.
feed_up() {
    for _ in $(seq 30); do state >/dev/null && return 0; sleep 0.1; done
    fail "no feed on port $PORT"
}

# Follows every change of the board on /events into $WORK/clock.log, one line
# each, stamped with the wall clock on arrival: "<ms> <match index> <clock>
# <running>". Sets FOLLOW.
follow_feed() {
    cat >"$WORK/follow.js" <<'JS'
    const http = require('http');
    http.get({ host: '127.0.0.1', port: process.argv[2], path: '/events' }, (response) => {
        let text = '';
        response.on('data', (chunk) => {
            const now = Number(process.hrtime.bigint() / 1000000n);
            text += chunk;
            let end;
            while ((end = text.indexOf('\n')) >= 0) {
                const line = text.slice(0, end);
                text = text.slice(end + 1);
                if (!line.startsWith('data: ')) continue;
                const state = JSON.parse(line.slice(6));
                console.log(now, state.match.index, state.clock, state.clock_running);
            }
        });
    }).on('error', (error) => { console.error(error.message); process.exit(1); });
JS
    node "$WORK/follow.js" "$PORT" >"$WORK/clock.log" 2>"$WORK/follow.err" &
    FOLLOW=$!
    PIDS+=("$FOLLOW")
}
