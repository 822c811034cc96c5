#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
# The virtual PDF printer (CUPS with cups-pdf) the smoke run prints to.
./scripts/pdf-printer.sh || echo "No PDF printer could be set up: the smoke run skips its print step."
build=${VEDIVEZ_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
