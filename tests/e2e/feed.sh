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
