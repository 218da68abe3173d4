#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

// The wad that SmallWadBuilder describes, as the packer would leave it before a save.
SpriteWad SmallWadLaidOut() {
    SpriteWad wad;
    wad.m_entries = {SpriteEntry::At(0, 0, 0, 64, 64), SpriteEntry::At(64, 0, 0, 32, 16),
                     SpriteEntry::At(10, 200, 1, 56, 56), SpriteEntry::At(255, 255, 1, 1, 1),
                     SpriteEntry::At(0, 100, 0, 256, 3)};
    wad.m_pages = {MakeTexture(256, 256, 1), MakeTexture(256, 256, 2)};
    wad.m_sequences = {{463, -3, 2}, {460, -2, 0}, {494, 0, 5}};
    return wad;
}

TEST(WriteSwd, LayoutIsExactlyTheFileFormat) {
    EXPECT_TRUE(swd::SerializeSwd(SmallWadLaidOut()) == fixtures::SmallWad().Build());
    EXPECT_TRUE(swd::SerializeSwd(SpriteWad{}) == SwdBuilder().Build());
}

TEST(WriteSwd, WrittenFileReadsBackToTheSameObjectsAndPixels) {
    const SpriteWad laidOut = SmallWadLaidOut();
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwd(swd::SerializeSwd(laidOut), wad).ok());
    EXPECT_EQ(wad.m_sequences, laidOut.m_sequences);
    ASSERT_EQ(wad.m_textures.size(), laidOut.m_entries.size());
    for (std::size_t i = 0; i < laidOut.m_entries.size(); ++i) {
        const SpriteEntry& e = laidOut.m_entries[i];
        SpriteTexture expected;
        ASSERT_TRUE(expected.Copy(laidOut.m_pages[e.page], e.x, e.y, e.Width(), e.Height()));
        EXPECT_EQ(wad.m_textures[i], expected) << i;
    }
}

TEST(WriteSwd, EntriesAreWrittenAsHeldAndSmallPagesArePaddedWithWhite) {
    SpriteWad wad;
    SpriteEntry e = SpriteEntry::At(1, 2, 0x0304, 5, 6);
    e.reserved4 = 7;
    e.reserved8 = 0x0A0B0C0D;
    wad.m_entries = {e};
    wad.m_pages = {MakeTexture(10, 10, 3)};
    wad.m_sequences = {{0x01020304, -1, 0x0506}};
    const auto bytes = swd::SerializeSwd(wad);
    ASSERT_EQ(bytes.size(), 12 + 16 + kPageBytes + 4 + 8);
    const std::vector<std::uint8_t> entry(bytes.begin() + 8, bytes.begin() + 24);
    EXPECT_EQ(entry, (std::vector<std::uint8_t>{1, 2, 4, 3, 7, 4, 0, 5, 0x0D, 0x0C, 0x0B, 0x0A, 0,
                                                0, 0, 0}));
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
    const std::vector<std::uint8_t> tail(bytes.end() - 12, bytes.end());
    EXPECT_EQ(tail, (std::vector<std::uint8_t>{1, 0, 0, 0, 4, 3, 2, 1, 0xFF, 0xFF, 6, 5}));
}

TEST(WriteSwdFile, ReplacesTheTargetAndKeepsItsPermissions) {
    fixtures::TempDir dir;
    const auto path = dir / "out.swd";
    fixtures::WriteFileBytes(path, {1, 2, 3});
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    const SpriteWad wad = SmallWadLaidOut();
    const swd::Result r = swd::WriteSwdFile(path.string(), wad);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_TRUE(fixtures::ReadFileBytes(path) == swd::SerializeSwd(wad));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{"out.swd"});
}

// Nothing is written in place of a missing folder, a folder or a pipe; each stays as it was.
TEST(WriteSwdFile, MissingFoldersFoldersAndPipesAreRefusedWithThePathAndReason) {
    fixtures::TempDir dir;
    const std::string missing = (dir / "no-such-folder" / "out.swd").string();
    swd::Result r = swd::WriteSwdFile(missing, SmallWadLaidOut());
    EXPECT_EQ(r.status, swd::Status::WriteFailed);
    EXPECT_EQ(r.message, "Cannot write the file \"" + missing + "\": No such file or directory");

    std::filesystem::create_directory(dir / "folder.swd");
    r = swd::WriteSwdFile((dir / "folder.swd").string(), SmallWadLaidOut());
    EXPECT_EQ(r.status, swd::Status::WriteFailed);
    EXPECT_NE(r.message.find("Is a directory"), std::string::npos) << r.message;
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.swd"));

    const auto pipe = dir / "pipe.swd";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    r = swd::WriteSwdFile(pipe.string(), SmallWadLaidOut());
    EXPECT_EQ(r.status, swd::Status::WriteFailed);
    EXPECT_EQ(r.message,
              "Cannot write the file \"" + pipe.string() + "\": it is not a regular file");
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(fixtures::Tree(dir.path()), (std::vector<std::string>{"folder.swd/", "pipe.swd"}));
}

// A write that fails half-way (here: the file size limit, which binds root too) leaves the
// old file whole and no temporary file behind.
TEST(WriteSwdFile, FailedWriteLeavesTheExistingFileIntact) {
    fixtures::TempDir dir;
    const auto path = dir / "keep.swd";
    const std::vector<std::uint8_t> old{9, 8, 7, 6, 5};
    fixtures::WriteFileBytes(path, old);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const swd::Result r = swd::WriteSwdFile(path.string(), SmallWadLaidOut());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(r.status, swd::Status::WriteFailed);
    EXPECT_EQ(r.message, "Cannot write the file \"" + path.string() + "\": File too large");
    EXPECT_EQ(fixtures::ReadFileBytes(path), old);
    EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{"keep.swd"});
}

TEST(WriteSwdFile, ReadOnlyFolderLeavesTheExistingFileIntact) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    fixtures::TempDir dir;
    const auto path = dir / "keep.swd";
    const std::vector<std::uint8_t> old{1, 2, 3};
    fixtures::WriteFileBytes(path, old);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const swd::Result r = swd::WriteSwdFile(path.string(), SmallWadLaidOut());
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(r.status, swd::Status::WriteFailed);
    EXPECT_EQ(r.message, "Cannot write the file \"" + path.string() + "\": Permission denied");
    EXPECT_EQ(fixtures::ReadFileBytes(path), old);
}

// Through a link, relative or absolute, to an existing file or to one not there yet, the
// file it points to is written and the link stays.
TEST(WriteSwdFile, WritingThroughALinkWritesTheLinkedFileAndKeepsTheLink) {
    const SpriteWad wad = SmallWadLaidOut();
    for (const bool targetExists : {true, false}) {
        SCOPED_TRACE(targetExists ? "existing target" : "dangling link");
        fixtures::TempDir dir;
        std::filesystem::create_directory(dir / "real");
        if (targetExists) {
            fixtures::WriteFileBytes(dir / "real" / "wad.swd", {1});
        }
        std::filesystem::create_symlink("real/wad.swd", dir / "hop.swd");
        std::filesystem::create_symlink(dir / "hop.swd", dir / "link.swd");
        const swd::Result r = swd::WriteSwdFile((dir / "link.swd").string(), wad);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.swd"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "hop.swd"));
        EXPECT_TRUE(fixtures::ReadFileBytes(dir / "real" / "wad.swd") == swd::SerializeSwd(wad));
        // No temporary file is left beside either.
        const auto count = [](const std::filesystem::path& folder) {
            return std::distance(std::filesystem::directory_iterator(folder),
                                 std::filesystem::directory_iterator());
        };
        EXPECT_EQ(count(dir.path()), 3);
        EXPECT_EQ(count(dir / "real"), 1);
    }
}

} // namespace
