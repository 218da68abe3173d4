#include "formats/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

// Nothing is written in place of a missing folder or a pipe, nor when the write fails
// half-way (the file size limit binds root too): what was there stays, links stay links, and
// no temporary file is left. Once the write succeeds, the file the chain of links leads to is
// replaced and keeps its permissions.
TEST(WriteSwdFile, FailuresLeaveEverythingAsItWasAndSuccessReplacesTheLinkedFile) {
    fixtures::TempDir dir;
    const fs::path real = dir / "real" / "wad.swd", link = dir / "link.swd";
    fs::create_directory(dir / "real");
    fixtures::WriteFileBytes(real, {9, 8, 7});
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink("real/wad.swd", dir / "hop.swd");
    fs::create_symlink(dir / "hop.swd", link);
    ASSERT_EQ(::mkfifo((dir / "pipe.swd").c_str(), 0600), 0);
    const auto tree = fixtures::Tree(dir.path());
    const struct {
        fs::path path;
        std::string reason;
        rlim_t sizeLimit = 0;
    } cases[] = {
        {dir / "no-such-folder" / "out.swd", "No such file or directory"},
        {dir / "pipe.swd", "it is not a regular file"},
        {link, "File too large", 4096},
    };
    SpriteWad wad;
    wad.m_pages = {fixtures::MakeTexture(256, 256, 1)};
    const auto bytes = swd::SerializeSwd(wad);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& c : cases) {
        rlimit limit = saved;
        limit.rlim_cur = c.sizeLimit != 0 ? c.sizeLimit : saved.rlim_cur;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        const Status r = swd::WriteSwdFile(c.path.string(), wad);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(r.message(), "Cannot write the file \"" + c.path.string() + "\": " + c.reason);
        EXPECT_EQ(fixtures::Tree(dir.path()), tree);
        EXPECT_EQ(fixtures::ReadFileBytes(real), (std::vector<std::uint8_t>{9, 8, 7}));
    }
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(swd::WriteSwdFile(link.string(), wad).ok());
    EXPECT_TRUE(fs::is_symlink(link) && fs::is_symlink(dir / "hop.swd"));
    EXPECT_TRUE(fixtures::ReadFileBytes(real) == bytes);
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A new file gets its mode from the umask, however its temporary file was made.
    const mode_t mask = ::umask(027);
    const Status made = swd::WriteSwdFile((dir / "new.swd").string(), wad);
    ::umask(mask);
    ASSERT_TRUE(made.ok());
    EXPECT_EQ(fs::status(dir / "new.swd").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    auto expected = tree;
    expected.insert(std::upper_bound(expected.begin(), expected.end(), "new.swd"), "new.swd");
    EXPECT_EQ(fixtures::Tree(dir.path()), expected);
}
