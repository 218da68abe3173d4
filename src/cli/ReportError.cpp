#include "Commands.h"

#include <cstdio>

int ReportError(const std::string& message) {
    std::fprintf(stderr, "vornix-cli: %s\n", message.c_str());
    return 1;
}
