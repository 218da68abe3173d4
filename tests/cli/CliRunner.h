#pragma once

#include "model/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

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

inline std::string WriteSample(const fixtures::TempDir& dir, const std::string& name,
                               const std::vector<std::uint8_t>& bytes) {
    fixtures::WriteFileBytes(dir / name, bytes);
    return (dir / name).string();
}

inline SpriteWad Read(const std::string& path) {
    SpriteWad wad;
    const swd::Result r = swd::ReadSwdFile(path, wad);
    EXPECT_TRUE(r.ok()) << path << ": " << r.message;
    return wad;
}

// The small wad with its header's sprite count overwritten by 0.
inline std::vector<std::uint8_t> ZeroCountedSmallWad() {
    auto bytes = fixtures::SmallWad().Build();
    std::fill(bytes.begin() + 4, bytes.begin() + 8, 0);
    return bytes;
}

} // namespace clitest
