#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

using swdtest::kPageBytes;
using swdtest::SmallWadLaidOut;

namespace fs = std::filesystem;

namespace {

TEST(WriteSwd, LayoutIsExactlyTheFileFormat) {
    EXPECT_TRUE(swd::SerializeSwd(SmallWadLaidOut()) == fixtures::SmallWad().Build());
    EXPECT_TRUE(swd::SerializeSwd(SpriteWad{}) == fixtures::SwdBuilder().Build());
}

TEST(WriteSwd, EntriesAreWrittenAsHeldAndSmallPagesArePaddedWithWhite) {
    SpriteWad wad;
    SpriteEntry e = SpriteEntry::At(1, 2, 0x0304, 5, 6);
    e.reserved4 = 7;
    e.reserved8 = 0x0A0B0C0D;
    wad.m_entries = {e};
    wad.m_pages = {fixtures::MakeTexture(10, 10, 3)};
    wad.m_sequences = {{0x01020304, -1, 0x0506}};
    const auto bytes = swd::SerializeSwd(wad);
    ASSERT_EQ(bytes.size(), 12 + 16 + kPageBytes + 4 + 8);
    EXPECT_EQ(
        std::vector<std::uint8_t>(bytes.begin() + 8, bytes.begin() + 24),
        (std::vector<std::uint8_t>{1, 2, 4, 3, 7, 4, 0, 5, 0x0D, 0x0C, 0x0B, 0x0A, 0, 0, 0, 0}));
    const std::uint8_t* page = bytes.data() + 28;
    const std::uint8_t* pixels = wad.m_pages[0].GetBits();
    for (std::size_t i = 0; i < 300; i += 3) {
        ASSERT_EQ(page[i], pixels[i + 2]);
        ASSERT_EQ(page[i + 1], pixels[i + 1]);
        ASSERT_EQ(page[i + 2], pixels[i]);
    }
    for (std::size_t i = 300; i < kPageBytes; ++i) {
        ASSERT_EQ(page[i], 0xFF) << i;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 12, bytes.end()),
              (std::vector<std::uint8_t>{1, 0, 0, 0, 4, 3, 2, 1, 0xFF, 0xFF, 6, 5}));
}

// The target keeps its permissions; through links, relative or absolute, to an existing file
// or to one not there yet, the linked file is written and the links stay. No temporary file
// is left behind.
TEST(WriteSwdFile, ReplacesTheTargetKeepingPermissionsAndLinks) {
    const SpriteWad wad = SmallWadLaidOut();
    for (const bool targetExists : {true, false}) {
        SCOPED_TRACE(targetExists ? "existing target" : "dangling link");
        fixtures::TempDir dir;
        fs::create_directory(dir / "real");
        if (targetExists) {
            fixtures::WriteFileBytes(dir / "real" / "wad.swd", {1});
            ASSERT_EQ(::chmod((dir / "real" / "wad.swd").c_str(), 0640), 0);
        }
        fs::create_symlink("real/wad.swd", dir / "hop.swd");
        fs::create_symlink(dir / "hop.swd", dir / "link.swd");
        const swd::Result r = swd::WriteSwdFile((dir / "link.swd").string(), wad);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_TRUE(fs::is_symlink(dir / "link.swd") && fs::is_symlink(dir / "hop.swd"));
        EXPECT_TRUE(fixtures::ReadFileBytes(dir / "real" / "wad.swd") == swd::SerializeSwd(wad));
        // Tree names each link by the file it leads to.
        EXPECT_EQ(
            fixtures::Tree(dir.path()),
            (std::vector<std::string>{"real/", "real/wad.swd", "real/wad.swd", "real/wad.swd"}));
        if (targetExists) {
            struct stat st {};
            ASSERT_EQ(::stat((dir / "real" / "wad.swd").c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, 0640u);
        }
    }
}

// Nothing is written in place of a missing folder, a folder or a pipe, nor when the write
// fails half-way (the file size limit binds root too): what was there stays, and no
// temporary file is left.
TEST(WriteSwdFile, FailuresNameThePathAndReasonAndLeaveEverythingAsItWas) {
    fixtures::TempDir dir;
    const std::vector<std::uint8_t> old{9, 8, 7};
    fixtures::WriteFileBytes(dir / "keep.swd", old);
    fs::create_directory(dir / "folder.swd");
    ASSERT_EQ(::mkfifo((dir / "pipe.swd").c_str(), 0600), 0);
    const auto tree = fixtures::Tree(dir.path());
    struct Case {
        fs::path path;
        std::string reason;
        rlim_t sizeLimit = 0;
    };
    const std::vector<Case> cases{
        {dir / "no-such-folder" / "out.swd", "No such file or directory"},
        {dir / "folder.swd", "Is a directory"},
        {dir / "pipe.swd", "it is not a regular file"},
        {dir / "keep.swd", "File too large", 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = c.sizeLimit != 0 ? c.sizeLimit : saved.rlim_cur;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        const swd::Result r = swd::WriteSwdFile(c.path.string(), SmallWadLaidOut());
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        EXPECT_EQ(r.status, swd::Status::WriteFailed);
        EXPECT_EQ(r.message, "Cannot write the file \"" + c.path.string() + "\": " + c.reason);
        EXPECT_EQ(fixtures::Tree(dir.path()), tree);
        EXPECT_EQ(fixtures::ReadFileBytes(dir / "keep.swd"), old);
    }
}

} // namespace
