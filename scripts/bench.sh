#!/usr/bin/env bash
# Runs every benchmark program in bench/; each prints its own ratios against a baseline measured in the same run.
set -uo pipefail
BIN="${1:?usage: bench.sh <bin dir>}"
# Absolute, because benchmarks link programs from it into game folders of their own.
BIN="$(cd "$BIN" && pwd)" || exit 1
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
# Agents met by a benchmark are pinned in a scratch trust file, never in the user's own.
SCRATCH="$(mktemp -d)"
trap 'rm -rf "$SCRATCH"' EXIT
export XDG_DATA_HOME="$SCRATCH"
export KVSM_TRUST_FILE="$SCRATCH/known_agents"
status=0
found=0
for b in "$BIN"/bench_*; do
    [ -x "$b" ] || continue
    found=1
    echo "== $(basename "$b")"
    # Each benchmark stops by itself within about a minute; the bound only keeps a broken one from hanging the run.
    timeout -k 10 300 "$b" --bin "$BIN" --root "$ROOT" || status=1
done
[ $found -eq 1 ] || echo "no benchmarks built"
exit $status
