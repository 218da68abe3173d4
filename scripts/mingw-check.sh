#!/usr/bin/env bash
# Cross-compiles the Qt-free core and its reader and packer tests for 64-bit Windows with
# MinGW-w64, and runs the tests under wine where wine runs Windows programs on this machine.
# Usage: scripts/mingw-check.sh [build-folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-mingw"}

bash "$root/scripts/setup.sh" g++-mingw-w64-x86-64 googletest wine

cmake -S "$root/scripts/mingw" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/scripts/mingw/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"
echo "mingw-check: the core and its tests compile for Windows"

# Debian's wine runs console programs without a display; where it cannot start, the tests
# are only built.
wine=$(command -v wine64 || command -v wine || true)
if [ -z "$wine" ] || ! WINEDEBUG=-all WINEPREFIX="$build/wineprefix" "$wine" cmd /c exit 0 \
    >/dev/null 2>&1; then
  echo "mingw-check: wine does not run here; the Windows tests were built but not run"
  exit 0
fi
for test in test_swd test_packer; do
  (cd "$build" && WINEDEBUG=-all WINEPREFIX="$build/wineprefix" "$wine" "./$test.exe" --gtest_brief=1)
done
echo "mingw-check: the reader and packer tests pass under wine"
