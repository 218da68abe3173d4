#!/usr/bin/env bash
# Redraws the application icon PNGs under res/icons (16, 32, 48 and 256 pixels).
# The PNGs are committed; run this only after changing scripts/make_icons.cpp.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++20 -O1 -fPIC -o "$work/make_icons" "$root/scripts/make_icons.cpp" \
    $(pkg-config --cflags --libs Qt6Gui)
for size in 16 32 48 256; do
    mkdir -p "$root/res/icons/$size"
done
QT_QPA_PLATFORM=offscreen "$work/make_icons" "$root/res/icons"
