#!/usr/bin/env bash
# The demonstration (./kv demo): builds a demo game folder under demo/ and runs the agent headless in demo/agent with
# an active control file whose game server is the simulator, showing the agent's status and access log, until Ctrl-C.
# Ports are chosen free at run time (the game's defaults when they are free).
# Usage: demo.sh BIN_DIR
set -euo pipefail

BIN="$(cd "${1:?usage: demo.sh BIN_DIR}" && pwd)"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEMO="$ROOT/demo"
GAME="$DEMO/game"
SIM_PID=""
AGENT_PID=""
AGENT="$DEMO/agent"
AGENT_FINGERPRINT=""
REMOTE_PORT=""
ADMIN_PORT=""
QUERY_PORT=""

say() { printf '\033[1m== %s\033[0m\n' "$*"; }

# Listening TCP ports and bound UDP ports on this machine, one number a line.
used_ports() {
    ss -Htanu 2>/dev/null | awk '{ n = split($5, a, ":"); print a[n] }' | sort -un
}

# free_port FIRST: the first port from FIRST upwards that is used neither for TCP nor for UDP.
free_port() {
    local port="$1" used
    used="$(used_ports)"
    while grep -qx "$port" <<<"$used" || [ "$port" = "$ADMIN_PORT" ]; do
        port=$((port + 1))
    done
    echo "$port"
}

choose_ports() {
    ADMIN_PORT="$(free_port 49600)"
    QUERY_PORT="$(free_port 1717)"
    REMOTE_PORT="$(free_port 49310)"
}

make_game() {
    "$ROOT/scripts/make-demo-game.sh" "$GAME" "$BIN" >/dev/null
    cat > "$GAME/kvsim.conf" <<CONF
# Written by scripts/demo.sh; see docs/simulator.md for every setting.
KVSIM_ADMIN_PORT=$ADMIN_PORT
KVSIM_QUERY_PORT=$QUERY_PORT
KVSIM_START_DELAY_MS=2000
KVSIM_LINE_INTERVAL_MS=1500
KVSIM_PLAYERS=6
CONF
}

# Starts the server as the generated .sh file does: from the System folder, with the ini beside the program.
start_simulator() {
    say "Starting the game server simulator (admin port $ADMIN_PORT, status query port $QUERY_PORT/udp)"
    (cd "$GAME/System" && exec ./server.bin GLOBAL Harbor.kvo log="Demo.log" ini="Demo.ini") &
    SIM_PID=$!
}

# Stops the server the way the agent does: "SHUTDOWN\r" on its admin port, SIGTERM if that does not help.
stop_simulator() {
    [ -n "$SIM_PID" ] || return 0
    if kill -0 "$SIM_PID" 2>/dev/null; then
        { printf 'SHUTDOWN\r' > "/dev/tcp/127.0.0.1/$ADMIN_PORT"; } 2>/dev/null || true
        for _ in $(seq 1 30); do
            kill -0 "$SIM_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -TERM "$SIM_PID" 2>/dev/null || true
    fi
    wait "$SIM_PID" 2>/dev/null || true
    SIM_PID=""
}

# The agent's working folder: settings (loopback only, demo password), one control file "Demo" on Harbor.kvo.
make_agent_folder() {
    mkdir -p "$AGENT/Configurations"
    cp "$GAME/System/Demo.ini" "$AGENT/Configurations/Demo.ini"
    printf 'Name=Demo\nRunMode=GLOBAL\nMap=Harbor.kvo\nIni=Demo.ini\nGamePlayerPassword=\nGameAdminPassword=\nDescription=Demo server run by the agent0xA\n' \
        > "$AGENT/Configurations/Demo.Control"
    cat > "$AGENT/KVSMRC.ini" <<INI
ServerIP=127.0.0.1
RemoteControlServerPort=$REMOTE_PORT
Password=demo
AdminName=Admin
ActiveControlFile=Demo.Control
GameServerPath=$GAME
ShowMemoryUsage=1
CreateCSVMemoryLog=1
INI
}

start_agent() {
    say "Starting kvagent --headless in $AGENT (remote control 127.0.0.1:$REMOTE_PORT, Admin / demo)"
    "$BIN/kvagent" --headless /ShowFailures --workdir "$AGENT" --admin-port "$ADMIN_PORT" &
    AGENT_PID=$!
}

# SIGTERM: the agent saves its settings and stops the game server through its admin port.
stop_agent() {
    [ -n "$AGENT_PID" ] || return 0
    kill -TERM "$AGENT_PID" 2>/dev/null || true
    wait "$AGENT_PID" 2>/dev/null || true
    AGENT_PID=""
    say "Agent logs: $AGENT/Logs, game server output: $AGENT/ServerLogs"
}

# What an administrator sees from another machine: the agent's status and a few seconds of live output, through
# kvsm remote and the client library, over the encrypted remote control port. First the agent's identity is
# trusted as an administrator would: with the fingerprint that kvagent prints on its own host. The demo keeps its
# trust file to itself.
show_remote() {
    local kvsm=("$BIN/kvsm" remote --host "127.0.0.1:$REMOTE_PORT" --user Admin)
    [ -x "$BIN/kvsm" ] || return 0
    export KVSM_TRUST_FILE="$DEMO/known_agents"
    rm -f "$KVSM_TRUST_FILE"
    say "kvsm remote trust 127.0.0.1:$REMOTE_PORT --fingerprint \"\$(kvagent --workdir $AGENT --fingerprint)\""
    local trusted=""
    for _ in $(seq 1 60); do
        trusted="$("$BIN/kvsm" remote trust "127.0.0.1:$REMOTE_PORT" --fingerprint "$AGENT_FINGERPRINT" 2>&1)" && break
        kill -0 "$AGENT_PID" 2>/dev/null || return 0
        sleep 0.5 # the agent is still starting
    done
    printf '%s\n' "$trusted"
    export KVSM_PASSWORD=demo
    local status=""
    for _ in $(seq 1 60); do
        status="$("${kvsm[@]}" status 2>/dev/null)" && grep -qi "running" <<<"$status" && break
        kill -0 "$AGENT_PID" 2>/dev/null || return 0
        sleep 0.5
    done
    say "kvsm remote status"
    printf '%s\n' "$status"
    say "kvsm query 127.0.0.1:$QUERY_PORT (the game server's own status, over UDP)"
    "$BIN/kvsm" query "127.0.0.1:$QUERY_PORT" | tr -d '\r' || true
    say "kvsm remote feed (5 seconds of live output)"
    timeout -s INT 5 "${kvsm[@]}" feed || true
    say "kvsm remote known"
    "$BIN/kvsm" remote known
    unset KVSM_PASSWORD KVSM_TRUST_FILE
}

# A manager working folder with a dozen varied setups, and the one command that opens the manager on it.
make_manager_library() {
    [ -x "$BIN/kvmanager" ] || return 0
    "$ROOT/scripts/make-demo-library.sh" "$DEMO/manager"
    say "Setup library of the manager: $DEMO/manager (list it with: kvsm setup list --workdir \"$DEMO/manager\")"
    "$BIN/kvsm" setup list --workdir "$DEMO/manager" | cut -f2,3 | sed 's/\t/  \/  /; s/^/   /'
    say "Open it in the manager (on your desktop, in another terminal):"
    printf '   %q --workdir %q\n' "$BIN/kvmanager" "$DEMO/manager"
}

stop_all() {
    trap - INT TERM EXIT
    echo
    say "Stopping"
    stop_agent
    stop_simulator
}

main() {
    if [ ! -x "$BIN/kvsim" ]; then
        echo "demo.sh: $BIN/kvsim not found; build first (./kv build)" >&2
        exit 1
    fi
    choose_ports
    make_game
    say "Demo game folder: $GAME"
    make_manager_library
    trap stop_all INT TERM EXIT
    if [ -x "$BIN/kvagent" ]; then
        make_agent_folder
        # Made (on first use) and shown before the agent starts, as an administrator reads it on the agent's host.
        AGENT_FINGERPRINT="$("$BIN/kvagent" --workdir "$AGENT" --fingerprint)"
        start_agent
        show_remote
        say "Press Ctrl-C to stop"
        wait "$AGENT_PID" || true
        AGENT_PID=""
    else
        start_simulator
        say "Press Ctrl-C to stop"
        wait "$SIM_PID" || true
        SIM_PID=""
    fi
}

main "$@"
