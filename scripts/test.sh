#!/usr/bin/env bash
# Sets up, builds and runs every test; CTest prints the summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh -DTAMBERLO_BUILD_TESTS=ON -DTAMBERLO_BUILD_BENCH=ON
# Window tests run without a display; Qt WebEngine as root needs its sandbox off.
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
ctest --test-dir build --output-on-failure --timeout 600 -j2
