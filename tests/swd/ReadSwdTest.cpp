#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include "model/PackTextures.h"

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::Cut;
using swdtest::kPageBytes;

namespace {

TEST(ReadSwd, CutsEverySpriteOutOfItsPageInEntryOrder) {
    const auto bytes = fixtures::SmallWad().Build();
    SpriteWad wad = swdtest::LoadedDocument();
    wad.m_entries.resize(2); // as a pack before a save leaves them
    wad.m_pages.resize(1);
    swd::SwdFileInfo info;
    const swd::Result r = swd::ReadSwd(bytes, wad, &info);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_TRUE(wad.m_entries.empty() && wad.m_pages.empty());
    ASSERT_EQ(wad.m_textures.size(), 5u);
    const std::size_t pages = swdtest::PageOffset(5);
    EXPECT_EQ(wad.m_textures[0], swdtest::CutFromFile(bytes, pages, 0, 0, 0, 64, 64));
    EXPECT_EQ(wad.m_textures[1], swdtest::CutFromFile(bytes, pages, 0, 64, 0, 32, 16));
    EXPECT_EQ(wad.m_textures[3], swdtest::CutFromFile(bytes, pages, 1, 255, 255, 1, 1));
    EXPECT_EQ(wad.m_textures[4], swdtest::CutFromFile(bytes, pages, 0, 0, 100, 256, 3));
    // Cut from the memory-order (B,G,R) page the file was built from.
    EXPECT_EQ(wad.m_textures[2], Cut(MakeTexture(256, 256, 2), 10, 200, 56, 56));
    EXPECT_EQ(wad.m_sequences,
              (std::vector<ObjectSequence>{{463, -3, 2}, {460, -2, 0}, {494, 0, 5}}));
    EXPECT_EQ(info.version, 129u);
    EXPECT_EQ(info.entryCount, 5u);
    EXPECT_EQ(info.pageCount, 2u);
    EXPECT_EQ(info.sequenceCount, 3u);

    // Each load replaces the whole document, down to an empty one from a 16-byte file.
    ASSERT_EQ(SwdBuilder().Build().size(), 16u);
    ASSERT_TRUE(swd::ReadSwd(SwdBuilder().Build(), wad).ok());
    swdtest::ExpectSameDocument(wad, SpriteWad{});
}

// Files other tools write: odd page sizes, positive and unsorted counts, reserved bytes set,
// shared or overlapping rectangles, empty objects inside runs. Each loads and repacks.
TEST(ReadSwd, UnusualButSoundFilesLoadAndRepack) {
    const TexturePage p1 = MakeTexture(256, 256, 4), p2 = MakeTexture(256, 256, 5);
    struct Case {
        const char* name;
        SwdBuilder file;
        std::vector<SpriteTexture> textures;
        std::uint64_t trailing = 0;
        bool setReservedBytes = false;
    };
    const std::vector<Case> cases{
        // The object count is the 4 bytes right after the second whole page.
        {"pages and 5 bytes",
         SwdBuilder()
             .Entry(0, 0, 1, 4, 4)
             .Page(p1)
             .Page(p2)
             .StatedPageBytes(2 * kPageBytes + 5)
             .Sequence(463, -1, 0),
         {Cut(p2, 0, 0, 4, 4)}},
        // A positive count, slots unsorted and repeated, an empty object inside a run.
        {"odd objects and trailing bytes",
         SwdBuilder()
             .Entry(0, 0, 0, 8, 8)
             .Entry(8, 0, 0, 8, 8)
             .Entry(16, 0, 0, 8, 8)
             .Page(p1)
             .Sequence(494, 2, 1)
             .Sequence(463, -1, 0)
             .Sequence(470, 0, 2)
             .Sequence(463, 0, 3)
             .Tail(std::vector<std::uint8_t>(1000, 0xAB)),
         {Cut(p1, 0, 0, 8, 8), Cut(p1, 8, 0, 8, 8), Cut(p1, 16, 0, 8, 8)},
         1000},
        {"reserved entry bytes set, shared and overlapping rectangles, a full page",
         SwdBuilder()
             .Entry(2, 3, 0, 4, 5)
             .Entry(2, 3, 0, 4, 5)
             .Entry(0, 0, 1, 256, 256)
             .Entry(250, 3, 1, 6, 9)
             .Page(p1)
             .Page(p2)
             .Sequence(460, -4, 0),
         {Cut(p1, 2, 3, 4, 5), Cut(p1, 2, 3, 4, 5), p2, Cut(p2, 250, 3, 6, 9)},
         0,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = c.file.Build();
        if (c.setReservedBytes) {
            bytes[8 + 4] = bytes[8 + 6] = 0xFF;
            std::fill(bytes.begin() + 16, bytes.begin() + 24, 0xEE);
        }
        SpriteWad wad;
        swd::SwdFileInfo info;
        swd::Result r = swd::ReadSwd(bytes, wad, &info);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(info.trailingBytes, c.trailing);
        EXPECT_TRUE(wad.m_textures == c.textures);
        const SpriteWad loaded = wad;
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        SpriteWad again;
        r = swd::ReadSwd(swd::SerializeSwd(wad), again);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(again.m_sequences, loaded.m_sequences);
        EXPECT_TRUE(again.m_textures == loaded.m_textures);
        // Once every object holds a texture, the runs are whole and apart.
        for (std::size_t k = 0; k < again.ObjectCount(); ++k) {
            ASSERT_TRUE(again.AddTexture(k, MakeTexture(2, 2, 32)));
        }
        EXPECT_TRUE(again.RunsAreValid());
    }
}

TEST(ReadSwd, OtherVersionsAndUnopenableFilesAreRefusedWithTheDocumentUnchanged) {
    const SpriteWad before = swdtest::LoadedDocument();
    SpriteWad wad = before;
    for (std::uint32_t version : {0u, 128u, 130u, 0x81000000u}) {
        const swd::Result r = swd::ReadSwd(SwdBuilder().Version(version).Build(), wad);
        EXPECT_EQ(r.status, swd::Status::WrongVersion) << version;
        EXPECT_EQ(r.message, swd::kWrongVersionMessage);
    }
    fixtures::TempDir dir;
    const std::string path = (dir / "absent.swd").string();
    swd::Result r = swd::ReadSwdFile(path, wad);
    EXPECT_EQ(r.status, swd::Status::OpenFailed);
    EXPECT_EQ(r.message, "Cannot open the file \"" + path + "\": No such file or directory");
    r = swd::ReadSwdFile(dir.path().string(), wad);
    EXPECT_EQ(r.status, swd::Status::OpenFailed);
    EXPECT_EQ(r.message, "Cannot open the file \"" + dir.path().string() + "\": Is a directory");
    swdtest::ExpectSameDocument(wad, before);
}

} // namespace
