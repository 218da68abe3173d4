#!/usr/bin/env bash
# Generates the seed corpus of every fuzz target with our own writers (nothing is copied in).
# Usage: scripts/make_fuzz_corpus.sh [fuzz-build-folder] [corpus-folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-fuzz"}
corpus=${2:-"$build/corpus"}

cmake --build "$build" --target make_seed_corpus
"$build/fuzz/make_seed_corpus" "$corpus"
