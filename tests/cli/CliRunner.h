#pragma once

#include "model/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace clitest {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the vornix-cli binary named by VORNIX_CLI with the given arguments and collects its
// exit status and both output streams. A non-zero fileSizeLimit caps the size of any file it
// writes (writes past it fail, as on a full disk).
inline CliRun RunCli(const std::vector<std::string>& args, std::size_t fileSizeLimit = 0) {
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

inline std::string WriteSample(const fixtures::TempDir& dir, const std::string& name,
                               const std::vector<std::uint8_t>& bytes) {
    fixtures::WriteFileBytes(dir / name, bytes);
    return (dir / name).string();
}

inline SpriteWad Read(const std::string& path) {
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwdFile(path, wad).ok()) << path;
    return wad;
}

} // namespace clitest
