#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test.
# Usage: scripts/test.sh [build-folder] [extra cmake arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
shift || true

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja "$@"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --timeout 600
