#!/usr/bin/env bash
# Installs the dependencies, builds the editor (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
build=${VEDIVEZ_BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEDIVEZ_TESTS=OFF -DVEDIVEZ_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
exec "$build/app/vedivez"
