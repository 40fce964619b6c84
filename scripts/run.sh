#!/usr/bin/env bash
# Sets up, builds and starts Tamberlo in demo mode: the sample album service runs inside the
# program on a loopback port, so every step can be tried without an account.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh -DTAMBERLO_BUILD_TESTS=OFF -DTAMBERLO_BUILD_BENCH=OFF
if [ -x build/tamberlo ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display found; starting the window under xvfb-run (use a desktop session to see it)"
    exec xvfb-run -a build/tamberlo --demo "$@"
  fi
  exec build/tamberlo --demo "$@"
elif [ -x build/tamberlo-cli ]; then
  exec build/tamberlo-cli --help
else
  exec build/tamberlo-sample-service "$@"
fi
