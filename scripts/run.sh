#!/usr/bin/env bash
# Builds the editor in build/ and starts it: on the desktop when there is one, otherwise
# on a virtual X display (xvfb-run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja
cmake --build "$build" --target vornix

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/src/app/vornix"
fi
exec xvfb-run -a "$build/src/app/vornix"
