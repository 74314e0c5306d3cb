#!/usr/bin/env bash
# Renders the agent's and the manager's windows and dialogs offscreen into docs/screenshots/ (used by the README and the manual).
#   scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
if [ ! -f "$BUILD/build.ninja" ] && [ ! -f "$BUILD/Makefile" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD" --target kvagent_screenshots kvmanager_screenshots -j2
QT_QPA_PLATFORM=offscreen "$BUILD/bin/kvagent_screenshots" "$ROOT/docs/screenshots"
QT_QPA_PLATFORM=offscreen "$BUILD/bin/kvmanager_screenshots" "$ROOT/docs/screenshots"
