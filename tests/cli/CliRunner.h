#pragma once

#include "model/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace clitest {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the vornix-cli binary named by VORNIX_CLI with the given arguments and collects its
// exit status and both output streams. A non-zero fileSizeLimit caps the size of any file it
// writes (writes past it fail, as on a full disk).
CliRun RunCli(const std::vector<std::string>& args, std::size_t fileSizeLimit = 0);

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
