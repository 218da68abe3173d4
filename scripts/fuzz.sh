#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ and runs each for the given number of seconds (default 60) on its corpus, which
# grows from run to run. Fails when a target finds a crash or a broken invariant; the input
# that did it is left in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"
# clang's runtime holds libFuzzer.
bash "$root/scripts/setup.sh" clang

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVORNIX_FUZZ=ON -DVORNIX_BUILD_APP=OFF
targets=$(cmake --build "$build" --target help | sed -n 's/^\(fuzz_[a-z_]*\):.*/\1/p')
cmake --build "$build" --target $targets
if [ ! -d "$build/corpus" ]; then
    bash "$root/scripts/make_fuzz_corpus.sh" "$build" "$build/corpus"
fi

mkdir -p "$build/findings"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in $targets; do
    name=${target#fuzz_}
    mkdir -p "$build/corpus/$name"
    echo "== $target for ${seconds} s"
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
        -artifact_prefix="$build/findings/$name-" -print_final_stats=1 "$build/corpus/$name"
done
