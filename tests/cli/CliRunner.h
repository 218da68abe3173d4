#pragma once

#include <string>
#include <sys/resource.h>
#include <vector>

namespace clitest {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the vornix-cli binary named by VORNIX_CLI with the given arguments and collects its
// exit status and both output streams. A non-zero fileSizeLimit caps, in the child only,
// the size of any file it writes (writes past it fail, as on a full disk).
CliRun RunCli(const std::vector<std::string>& args, rlim_t fileSizeLimit = 0);

} // namespace clitest
