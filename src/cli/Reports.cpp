// What the commands print: errors on standard error, counts in their reports.
#include "Commands.h"

#include <cstdio>

int ReportError(const std::string& message) {
    std::fprintf(stderr, "vornix-cli: %s\n", message.c_str());
    return 1;
}

std::string Counted(long long count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}
