#include "SwdTestSupport.h"

#include "model/ListLines.h"

#include <gtest/gtest.h>

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

SpriteTexture Cut(const TexturePage& page, int x, int y, int width, int height) {
    SpriteTexture t;
    EXPECT_TRUE(t.Copy(page, x, y, width, height));
    return t;
}

TEST(ReadSwd, CutsEverySpriteOutOfItsPageInEntryOrder) {
    const auto bytes = fixtures::SmallWad().Build();
    SpriteWad wad = swdtest::LoadedDocument();
    wad.m_entries.resize(2); // as a pack before a save leaves them
    wad.m_pages.resize(1);
    swd::SwdFileInfo info;
    const swd::Result r = swd::ReadSwd(bytes, wad, &info);
    ASSERT_TRUE(r.ok()) << r.message;

    EXPECT_TRUE(wad.m_entries.empty());
    EXPECT_TRUE(wad.m_pages.empty());
    ASSERT_EQ(wad.m_textures.size(), 5u);
    const std::size_t pages = swdtest::PageOffset(5);
    EXPECT_EQ(wad.m_textures[0], swdtest::CutFromFile(bytes, pages, 0, 0, 0, 64, 64));
    EXPECT_EQ(wad.m_textures[1], swdtest::CutFromFile(bytes, pages, 0, 64, 0, 32, 16));
    EXPECT_EQ(wad.m_textures[3], swdtest::CutFromFile(bytes, pages, 1, 255, 255, 1, 1));
    EXPECT_EQ(wad.m_textures[4], swdtest::CutFromFile(bytes, pages, 0, 0, 100, 256, 3));
    // Cut from the memory-order (B,G,R) page the file was built from.
    EXPECT_EQ(wad.m_textures[2], Cut(MakeTexture(256, 256, 2), 10, 200, 56, 56));

    const std::vector<ObjectSequence> sequences{{463, -3, 2}, {460, -2, 0}, {494, 0, 5}};
    EXPECT_EQ(wad.m_sequences, sequences);
    EXPECT_EQ(info.version, 129u);
    EXPECT_EQ(info.entryCount, 5u);
    EXPECT_EQ(info.pageCount, 2u);
    EXPECT_EQ(info.sequenceCount, 3u);
    EXPECT_EQ(info.trailingBytes, 0u);

    // Each load replaces the whole document, down to an empty one from a 16-byte file.
    const auto empty = SwdBuilder().Build();
    ASSERT_EQ(empty.size(), 16u);
    ASSERT_TRUE(swd::ReadSwd(empty, wad).ok());
    swdtest::ExpectSameDocument(wad, SpriteWad{});
}

TEST(ReadSwd, FilePixelsAreRedGreenBlueAndMemoryPixelsBlueGreenRed) {
    auto bytes = SwdBuilder()
                     .Entry(0, 0, 0, 2, 1)
                     .Page(MakeTexture(256, 256, 3))
                     .Sequence(463, -1, 0)
                     .Build();
    const std::size_t page = swdtest::PageOffset(1);
    bytes[page] = 0x10;
    bytes[page + 1] = 0x20;
    bytes[page + 2] = 0x30;
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
    const std::uint8_t* p = wad.m_textures[0].GetBits();
    EXPECT_EQ((std::vector<std::uint8_t>{p[0], p[1], p[2]}),
              (std::vector<std::uint8_t>{0x30, 0x20, 0x10}));
}

TEST(ReadSwd, OtherVersionsAndTinyFilesAreRefusedWithTheFixedMessage) {
    const SpriteWad before = swdtest::LoadedDocument();
    for (std::uint32_t version : {0u, 128u, 130u, 0x81000000u}) {
        SpriteWad wad = before;
        const swd::Result r = swd::ReadSwd(SwdBuilder().Version(version).Build(), wad);
        EXPECT_EQ(r.status, swd::Status::WrongVersion) << version;
        EXPECT_EQ(r.message, swd::kWrongVersionMessage);
        swdtest::ExpectSameDocument(wad, before);
    }
}

TEST(ReadSwd, PageDataNotAWholeNumberOfPagesReadsTheWholePagesOnly) {
    // D = 2 pages + 5: the object count is the 4 bytes right after the second page.
    const auto bytes = SwdBuilder()
                           .Entry(0, 0, 1, 4, 4)
                           .Page(MakeTexture(256, 256, 4))
                           .Page(MakeTexture(256, 256, 5))
                           .StatedPageBytes(2 * kPageBytes + 5)
                           .Sequence(463, -1, 0)
                           .Build();
    SpriteWad wad;
    swd::SwdFileInfo info;
    const swd::Result r = swd::ReadSwd(bytes, wad, &info);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(info.pageCount, 2u);
    EXPECT_EQ(info.trailingBytes, 0u);
    EXPECT_EQ(wad.m_sequences, (std::vector<ObjectSequence>{{463, -1, 0}}));
    EXPECT_EQ(wad.m_textures[0], Cut(MakeTexture(256, 256, 5), 0, 0, 4, 4));
}

TEST(ReadSwd, PositiveCountsRepeatedAndUnsortedSlotsAndTrailingBytesAreAccepted) {
    const auto bytes = SwdBuilder()
                           .Entry(0, 0, 0, 8, 8)
                           .Entry(8, 0, 0, 8, 8)
                           .Entry(16, 0, 0, 8, 8)
                           .Entry(24, 0, 0, 8, 8)
                           .Page(MakeTexture(256, 256, 6))
                           .Sequence(494, 3, 1)  // positive count
                           .Sequence(463, -1, 0) // slot below the previous one
                           .Sequence(463, 0, 4)  // repeated slot, empty, just past the end
                           .Tail(std::vector<std::uint8_t>(1000, 0xAB))
                           .Build();
    SpriteWad wad;
    swd::SwdFileInfo info;
    const swd::Result r = swd::ReadSwd(bytes, wad, &info);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(info.trailingBytes, 1000u);
    ASSERT_EQ(wad.m_sequences.size(), 3u);
    EXPECT_EQ(FormatObjectLine(wad.m_sequences[0]), "494: CUSTOM_SPRITES  Textures=3");
    EXPECT_EQ(FormatObjectLine(wad.m_sequences[1]), "463: DEFAULT_SPRITES  Textures=1");
    EXPECT_EQ(FormatObjectLine(wad.m_sequences[2]), "463: DEFAULT_SPRITES  Textures=0");
    EXPECT_EQ(wad.m_textures.size(), 4u);
}

TEST(ReadSwd, FullPageSpriteAndIgnoredReservedEntryBytes) {
    const TexturePage page = MakeTexture(256, 256, 8);
    const TexturePage full = MakeTexture(256, 256, 9);
    auto bytes = SwdBuilder()
                     .Entry(2, 3, 0, 4, 5)
                     .Entry(0, 0, 1, 256, 256)
                     .Page(page)
                     .Page(full)
                     .Sequence(460, -2, 0)
                     .Build();
    bytes[8 + 4] = 0xFF;
    bytes[8 + 6] = 0xFF;
    std::fill(bytes.begin() + 16, bytes.begin() + 24, 0xEE);
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
    EXPECT_EQ(wad.m_textures[0], Cut(page, 2, 3, 4, 5));
    EXPECT_EQ(wad.m_textures[1], full);
}

TEST(ReadSwd, LargestEntryCountLoads) {
    SwdBuilder b;
    for (int i = 0; i < 65536; ++i) {
        b.Entry(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0, 1, 1);
    }
    b.Page(MakeTexture(256, 256, 11)).Sequence(463, -32768, 0).Sequence(464, -32768, 32768);
    SpriteWad wad;
    const swd::Result r = swd::ReadSwd(b.Build(), wad);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(wad.m_textures.size(), 65536u);
    EXPECT_EQ(wad.m_sequences[1].TextureCount(), 32768);
}

TEST(ReadSwdFile, ReadsLikeMemoryAndNamesThePathAndReasonWhenItCannotOpen) {
    fixtures::TempDir dir;
    const auto bytes = fixtures::SmallWad().Build();
    fixtures::WriteFileBytes(dir / "small.swd", bytes);
    SpriteWad fromFile;
    SpriteWad fromMemory;
    ASSERT_TRUE(swd::ReadSwdFile((dir / "small.swd").string(), fromFile).ok());
    ASSERT_TRUE(swd::ReadSwd(bytes, fromMemory).ok());
    swdtest::ExpectSameDocument(fromFile, fromMemory);

    const std::string path = (dir / "absent.swd").string();
    const swd::Result r = swd::ReadSwdFile(path, fromFile);
    EXPECT_EQ(r.status, swd::Status::OpenFailed);
#ifdef _WIN32
    const std::string notFound = std::system_category().message(ERROR_FILE_NOT_FOUND);
#else
    const std::string notFound = "No such file or directory";
#endif
    EXPECT_EQ(r.message, "Cannot open the file \"" + path + "\": " + notFound);
    const swd::Result folder = swd::ReadSwdFile(dir.path().string(), fromFile);
    EXPECT_EQ(folder.status, swd::Status::OpenFailed);
    EXPECT_EQ(folder.message,
              "Cannot open the file \"" + dir.path().string() + "\": Is a directory");
    swdtest::ExpectSameDocument(fromFile, fromMemory);
}

} // namespace
