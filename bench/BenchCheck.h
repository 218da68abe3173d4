#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>

// Ends a benchmark whose setup failed, saying what failed: a figure from a broken run would
// mislead.
inline void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, what);
        std::exit(1);
    }
}
