#!/usr/bin/env bash
# Lets the monkey test loose on the window for a while with a fresh seed (or MONKEY_SEED) and
# prints the seed, so that a failure can be run again with it.
# Usage: scripts/monkey.sh [seconds] [build-folder]   (default 60 s, build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${2:-"$root/build"}
cmake --build "$build" --target test_monkey
seed=${MONKEY_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
echo "monkey seed $seed, $seconds s"
MONKEY_SEED=$seed MONKEY_SECONDS=$seconds QT_QPA_PLATFORM=offscreen "$build/tests/test_monkey"
