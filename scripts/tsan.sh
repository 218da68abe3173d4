#!/usr/bin/env bash
# Builds the window tests with ThreadSanitizer in a folder of their own and runs the
# background-job tests there. Fails on any test failure or reported data race. Qt itself is
# not instrumented, so races are looked for only in our own code (the file dialog's helper
# threads inside Qt would otherwise be reported falsely).
# Usage: scripts/tsan.sh [build-folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-tsan"}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
cmake --build "$build" --target test_app test_packing
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1"
QT_QPA_PLATFORM=offscreen "$build/tests/test_packing" --gtest_filter='SaveProgress*:ProgressMailbox*'
QT_QPA_PLATFORM=offscreen "$build/tests/test_app" --gtest_filter='SaveJob*:SplitTexture*:PieceQueue*'
