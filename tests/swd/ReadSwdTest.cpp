#include "SwdTestSupport.h"

#include "model/ListLines.h"

#include <gtest/gtest.h>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

TEST(ReadSwd, CutsEverySpriteOutOfItsPageInEntryOrder) {
    const auto bytes = swdtest::SmallWadBuilder().Build();
    SpriteWad wad;
    swd::SwdFileInfo info;
    const swd::Result r = swd::ReadSwd(bytes, wad, &info);
    ASSERT_TRUE(r.ok()) << r.message;

    EXPECT_TRUE(wad.m_entries.empty());
    EXPECT_TRUE(wad.m_pages.empty());
    ASSERT_EQ(wad.m_textures.size(), 5u);
    const std::size_t pages = swdtest::PageOffset(5);
    EXPECT_EQ(wad.m_textures[0], swdtest::CutFromFile(bytes, pages, 0, 0, 0, 64, 64));
    EXPECT_EQ(wad.m_textures[1], swdtest::CutFromFile(bytes, pages, 0, 64, 0, 32, 16));
    EXPECT_EQ(wad.m_textures[2], swdtest::CutFromFile(bytes, pages, 1, 10, 200, 56, 56));
    EXPECT_EQ(wad.m_textures[3], swdtest::CutFromFile(bytes, pages, 1, 255, 255, 1, 1));
    EXPECT_EQ(wad.m_textures[4], swdtest::CutFromFile(bytes, pages, 0, 0, 100, 256, 3));

    // The same sprite cut from the memory-order page the file was built from.
    SpriteTexture expected;
    ASSERT_TRUE(expected.Copy(MakeTexture(256, 256, 2), 10, 200, 56, 56));
    EXPECT_EQ(wad.m_textures[2], expected);

    const std::vector<ObjectSequence> sequences{{463, -3, 2}, {460, -2, 0}, {494, 0, 5}};
    EXPECT_EQ(wad.m_sequences, sequences);
    EXPECT_EQ(info.version, 129u);
    EXPECT_EQ(info.entryCount, 5u);
    EXPECT_EQ(info.pageCount, 2u);
    EXPECT_EQ(info.sequenceCount, 3u);
    EXPECT_EQ(info.trailingBytes, 0u);
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
    EXPECT_EQ(p[0], 0x30); // blue
    EXPECT_EQ(p[1], 0x20); // green
    EXPECT_EQ(p[2], 0x10); // red

    // Written back, the pixel is the same three file bytes.
    SpriteWad out;
    out.m_pages.push_back(wad.m_textures[0]);
    const auto written = swd::SerializeSwd(out);
    ASSERT_GE(written.size(), 15u);
    EXPECT_EQ(written[12], 0x10);
    EXPECT_EQ(written[13], 0x20);
    EXPECT_EQ(written[14], 0x30);
}

TEST(ReadSwd, OtherVersionsAndTinyFilesAreRefusedWithTheFixedMessage) {
    const SpriteWad before = swdtest::LoadedDocument();
    for (std::uint32_t version : {0u, 128u, 130u, 0x81000000u}) {
        SpriteWad wad = before;
        const auto bytes = SwdBuilder().Version(version).Build();
        const swd::Result r = swd::ReadSwd(bytes, wad);
        EXPECT_EQ(r.status, swd::Status::WrongVersion) << version;
        EXPECT_EQ(r.message, swd::kWrongVersionMessage);
        swdtest::ExpectSameDocument(wad, before);
    }
    for (std::size_t size = 0; size < 4; ++size) {
        SpriteWad wad = before;
        const std::vector<std::uint8_t> bytes(size, 0x81);
        EXPECT_EQ(swd::ReadSwd(bytes, wad).status, swd::Status::WrongVersion) << size;
        swdtest::ExpectSameDocument(wad, before);
    }
}

TEST(ReadSwd, SixteenByteFileIsAnEmptyDocumentAndReplacesTheOldOne) {
    SpriteWad wad = swdtest::LoadedDocument();
    const auto bytes = SwdBuilder().Build();
    ASSERT_EQ(bytes.size(), 16u);
    ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
    EXPECT_TRUE(wad.m_sequences.empty());
    EXPECT_TRUE(wad.m_textures.empty());
    EXPECT_TRUE(wad.m_entries.empty());
    EXPECT_TRUE(wad.m_pages.empty());
}

TEST(ReadSwd, SecondLoadLeavesOnlyTheSecondFile) {
    SpriteWad wad;
    const auto first = swdtest::SmallWadBuilder().Build();
    ASSERT_TRUE(swd::ReadSwd(first, wad).ok());
    const auto second = SwdBuilder()
                            .Entry(1, 1, 0, 5, 6)
                            .Page(MakeTexture(256, 256, 9))
                            .Sequence(470, -1, 0)
                            .Build();
    ASSERT_TRUE(swd::ReadSwd(second, wad).ok());
    ASSERT_EQ(wad.m_sequences.size(), 1u);
    EXPECT_EQ(wad.m_sequences[0].slotId, 470u);
    ASSERT_EQ(wad.m_textures.size(), 1u);
    EXPECT_EQ(wad.m_textures[0].GetWidth(), 5);
    EXPECT_EQ(wad.m_textures[0].GetHeight(), 6);
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
    ASSERT_EQ(wad.m_sequences.size(), 1u);
    EXPECT_EQ(wad.m_sequences[0].slotId, 463u);
    SpriteTexture expected;
    ASSERT_TRUE(expected.Copy(MakeTexture(256, 256, 5), 0, 0, 4, 4));
    EXPECT_EQ(wad.m_textures[0], expected);
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

TEST(ReadSwd, FullPageSpriteIsTheWholePage) {
    const TexturePage page = MakeTexture(256, 256, 8);
    const auto bytes =
        SwdBuilder().Entry(0, 0, 0, 256, 256).Page(page).Sequence(460, -1, 0).Build();
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
    ASSERT_EQ(wad.m_textures.size(), 1u);
    EXPECT_EQ(wad.m_textures[0], page);
}

TEST(ReadSwd, ReservedEntryBytesAreIgnored) {
    auto bytes = SwdBuilder()
                     .Entry(2, 3, 0, 4, 5)
                     .Page(MakeTexture(256, 256, 10))
                     .Sequence(463, -1, 0)
                     .Build();
    bytes[8 + 4] = 0xFF;
    bytes[8 + 6] = 0xFF;
    for (int i = 8; i < 16; ++i) {
        bytes[8 + static_cast<std::size_t>(i)] = 0xEE;
    }
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
    SpriteTexture expected;
    ASSERT_TRUE(expected.Copy(MakeTexture(256, 256, 10), 2, 3, 4, 5));
    EXPECT_EQ(wad.m_textures[0], expected);
}

TEST(ReadSwd, LargestEntryCountLoads) {
    SwdBuilder b;
    for (int i = 0; i < 65536; ++i) {
        b.Entry(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0, 1, 1);
    }
    b.Page(MakeTexture(256, 256, 11)).Sequence(463, -32768, 0).Sequence(464, -32768, 32768);
    const auto bytes = b.Build();
    SpriteWad wad;
    const swd::Result r = swd::ReadSwd(bytes, wad);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(wad.m_textures.size(), 65536u);
    EXPECT_EQ(wad.m_sequences[1].TextureCount(), 32768);
}

TEST(ReadSwdFile, MissingFileNamesThePathAndTheSystemReason) {
    fixtures::TempDir dir;
    const std::string path = (dir / "absent.swd").string();
    SpriteWad wad = swdtest::LoadedDocument();
    const SpriteWad before = wad;
    const swd::Result r = swd::ReadSwdFile(path, wad);
    EXPECT_EQ(r.status, swd::Status::OpenFailed);
    EXPECT_EQ(r.message, "Cannot open the file \"" + path + "\": No such file or directory");
    swdtest::ExpectSameDocument(wad, before);

    const swd::Result folder = swd::ReadSwdFile(dir.path().string(), wad);
    EXPECT_EQ(folder.status, swd::Status::OpenFailed);
    EXPECT_EQ(folder.message,
              "Cannot open the file \"" + dir.path().string() + "\": Is a directory");
    swdtest::ExpectSameDocument(wad, before);
}

TEST(ReadSwdFile, ReadsTheFileFromDisk) {
    fixtures::TempDir dir;
    const auto bytes = swdtest::SmallWadBuilder().Build();
    fixtures::WriteFileBytes(dir / "small.swd", bytes);
    SpriteWad fromFile;
    SpriteWad fromMemory;
    ASSERT_TRUE(swd::ReadSwdFile((dir / "small.swd").string(), fromFile).ok());
    ASSERT_TRUE(swd::ReadSwd(bytes, fromMemory).ok());
    swdtest::ExpectSameDocument(fromFile, fromMemory);
}

} // namespace
