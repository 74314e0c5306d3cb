#!/usr/bin/env bash
# Checks a built package the way an administrator meets it (./kv test runs it): unpacks it into a scratch root with
# dpkg -x (CI cannot install packages into the machine it runs on), then runs the installed programs from there, each
# finding its companions below the scratch prefix only: kvsm --help, kvagent --version, kvmanager --version (offscreen),
# kvsm's setup library made from the installed data, kvsm remote with the installed client library, and kvsim as a
# game's server.bin with the installed configuration template until it serves and stops on SHUTDOWN. Then lintian,
# failing on errors. Any failure ends with a non-zero status.
# Usage: check-package.sh PACKAGE.deb
set -euo pipefail

DEB="$(realpath "${1:?usage: check-package.sh PACKAGE.deb}")"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SCRATCH="$(mktemp -d "${TMPDIR:-/tmp}/kv-package-XXXXXX")"
SIM_PID=""
cleanup() {
    [ -z "$SIM_PID" ] || kill -KILL "$SIM_PID" 2>/dev/null || true
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

say() { printf '\033[1m== %s\033[0m\n' "$*"; }
fail() { echo "check-package.sh: $*" >&2; exit 1; }

# A TCP and UDP port that nothing uses, from FIRST upwards.
free_port() {
    local port="$1" used
    used="$(ss -Htanu 2>/dev/null | awk '{ n = split($5, a, ":"); print a[n] }' | sort -un)"
    while grep -qx "$port" <<<"$used" || [ "$port" = "${2:-}" ]; do port=$((port + 1)); done
    echo "$port"
}

say "Unpacking $(basename "$DEB") into a scratch root"
dpkg -x "$DEB" "$SCRATCH/root"
BIN="$SCRATCH/root/usr/bin"
SHARE="$SCRATCH/root/usr/share/kv-server-manager"
for f in "$SCRATCH/root/usr/lib/kv-server-manager/libkvsm-remote-control.so" \
         "$SCRATCH/root/usr/lib/kv-server-manager/kvagent-ui.so" "$SHARE/ConfigurationTemplate.ini" \
         "$SCRATCH/root/usr/share/doc/kv-server-manager/help/GettingStarted.html" \
         "$SCRATCH/root/lib/systemd/system/kvagent.service"; do
    [ -f "$f" ] || fail "the package lacks ${f#"$SCRATCH/root"}"
done
grep -qx "ExecStart=/usr/bin/kvagent --headless --workdir /var/lib/kv-server-manager" \
    "$SCRATCH/root/lib/systemd/system/kvagent.service" || fail "the unit does not start the installed agent"

say "Installed programs"
"$BIN/kvsm" --help >/dev/null || fail "kvsm --help"
"$BIN/kvagent" --version || fail "kvagent --version"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$BIN/kvmanager" --version || fail "kvmanager --version"

# A fresh setup library gets the installed data files, byte for byte.
HOME="$SCRATCH/home" XDG_CONFIG_HOME="$SCRATCH/home/.config" "$BIN/kvsm" setup list --workdir "$SCRATCH/library" \
    >/dev/null || fail "kvsm setup list"
cmp "$SHARE/ConfigurationTemplate.ini" "$SCRATCH/library/ConfigurationTemplate.ini" ||
    fail "kvsm did not take the installed data"
[ -f "$SCRATCH/library/LeagueInfo/Instructions.html" ] || fail "kvsm did not copy the installed leagues"

# kvsm remote loads the installed client library; nothing listens on port 1, so the call itself fails.
status=0
KVSM_PASSWORD=x "$BIN/kvsm" remote status --host 127.0.0.1:1 --user Admin --known-only \
    --trust-file "$SCRATCH/known_agents" 2>"$SCRATCH/remote.err" || status=$?
if [ "$status" -ne 1 ] || grep -q "remote control library" "$SCRATCH/remote.err"; then
    cat "$SCRATCH/remote.err" >&2
    fail "kvsm remote did not load the installed client library (status $status)"
fi

say "kvsim as the game's server with the installed configuration template"
"$ROOT/scripts/make-demo-game.sh" "$SCRATCH/game" "$BIN" >/dev/null
ADMIN_PORT="$(free_port 49700)"
QUERY_PORT="$(free_port 27700 "$ADMIN_PORT")"
(cd "$SCRATCH/game/System" && KVSIM_ADMIN_PORT="$ADMIN_PORT" KVSIM_QUERY_PORT="$QUERY_PORT" KVSIM_START_DELAY_MS=0 \
    exec ./server.bin GLOBAL Harbor.kvo log="Check.log" ini="$SHARE/ConfigurationTemplate.ini" \
    >"$SCRATCH/sim.out" 2>&1) &
SIM_PID=$!
for _ in $(seq 1 100); do
    grep -q "Game engine initialized" "$SCRATCH/sim.out" && break
    kill -0 "$SIM_PID" 2>/dev/null || break
    sleep 0.1
done
grep -q "Game engine initialized" "$SCRATCH/sim.out" || { cat "$SCRATCH/sim.out" >&2; fail "kvsim did not start"; }
"$BIN/kvsm" query --raw "127.0.0.1:$QUERY_PORT" >/dev/null || fail "kvsim did not answer the status query"
printf 'SHUTDOWN\r' >"/dev/tcp/127.0.0.1/$ADMIN_PORT"
status=0
wait "$SIM_PID" || status=$?
SIM_PID=""
[ "$status" -eq 0 ] || { cat "$SCRATCH/sim.out" >&2; fail "kvsim ended with status $status"; }
grep -q "Reading configuration $SHARE/ConfigurationTemplate.ini" "$SCRATCH/sim.out" ||
    fail "kvsim did not read the installed template"

if command -v lintian >/dev/null; then
    say "lintian"
    lintian --fail-on error --tag-display-limit 0 "$DEB" || fail "lintian found errors"
else
    say "lintian is not installed; skipped"
fi
say "The package checks passed"
