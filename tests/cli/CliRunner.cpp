#include "CliRunner.h"

#include <cstdlib>
#include <stdexcept>

#include <sys/wait.h>

namespace clitest {

CliRun RunCli(const std::vector<std::string>& args, std::size_t fileSizeLimit) {
    const char* binary = std::getenv("VORNIX_CLI");
    if (binary == nullptr) {
        throw std::runtime_error("VORNIX_CLI is not set");
    }
    const fixtures::TempDir capture;
    // An ignored SIGXFSZ stays ignored in the program, so a write past the limit fails. No
    // argument or path the tests give holds a single quote.
    std::string command = fileSizeLimit == 0 ? "exec '"
                                             : "trap '' XFSZ; ulimit -f " +
                                                   std::to_string(fileSizeLimit / 512) + "; exec '";
    command += binary;
    for (const std::string& arg : args) {
        command += "' '" + arg;
    }
    command += "' >'" + (capture / "out").string() + "' 2>'" + (capture / "err").string() + "'";
    const int status = std::system(command.c_str());
    const auto out = fixtures::ReadFileBytes(capture / "out");
    const auto err = fixtures::ReadFileBytes(capture / "err");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            {out.begin(), out.end()},
            {err.begin(), err.end()}};
}

} // namespace clitest
