#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

// A broken invariant ends the run like a crash, so that libFuzzer keeps the input.
inline void Require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", invariant);
        std::abort();
    }
}

} // namespace fuzzcheck
