#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

struct DamagedCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string message;
};

std::vector<DamagedCase> DamagedCases() {
    const TexturePage page = MakeTexture(256, 256, 20);
    std::vector<DamagedCase> cases;
    cases.push_back(
        {"no entry count", {0x81, 0, 0, 0, 1, 0}, "the file ends before the number of sprites"});
    cases.push_back({"entry count over 65536", SwdBuilder().StatedEntryCount(65537).Build(),
                     "it states 65537 sprites, more than the 65536 a sprite wad can hold"});
    cases.push_back({"huge entry count", SwdBuilder().StatedEntryCount(0xFFFFFFFF).Build(),
                     "it states 4294967295 sprites, more than the 65536 a sprite wad can hold"});
    cases.push_back({"entries cut short",
                     SwdBuilder().Entry(0, 0, 0, 1, 1).StatedEntryCount(40).Build(),
                     "the file ends inside the sprite entries (40 stated, room for 1)"});
    {
        auto bytes = SwdBuilder().Entry(0, 0, 0, 1, 1).Build();
        bytes.resize(8 + 16 + 2);
        cases.push_back(
            {"no page size", bytes, "the file ends before the size of the texture pages"});
    }
    cases.push_back({"pages cut short",
                     SwdBuilder().Page(page).StatedPageBytes(3 * kPageBytes).Build(),
                     "the file ends inside the texture pages (3 stated, 1 present)"});
    {
        auto bytes = SwdBuilder().Page(page).Build();
        bytes.resize(bytes.size() - 1);
        cases.push_back({"no object count", bytes, "the file ends before the number of objects"});
    }
    cases.push_back({"objects cut short",
                     SwdBuilder().Sequence(460, 0, 0).StatedSequenceCount(1000).Build(),
                     "the file ends inside the object sequences (1000 stated, room for 1)"});
    cases.push_back({"huge object count", SwdBuilder().StatedSequenceCount(0xFFFFFFFF).Build(),
                     "the file ends inside the object sequences (4294967295 stated, room for 0)"});
    cases.push_back({"page past the page count",
                     SwdBuilder()
                         .Entry(0, 0, 0, 4, 4)
                         .Entry(0, 0, 1, 4, 4)
                         .Page(page)
                         .Sequence(463, -2, 0)
                         .Build(),
                     "sprite 1 lies on page 1, but the file holds 1 page"});
    cases.push_back({"page without any pages",
                     SwdBuilder().Entry(0, 0, 0, 4, 4).Sequence(463, -1, 0).Build(),
                     "sprite 0 lies on page 0, but the file holds 0 pages"});
    cases.push_back({"rectangle past column 255",
                     SwdBuilder().Entry(200, 0, 0, 57, 4).Page(page).Sequence(463, -1, 0).Build(),
                     "sprite 0 lies outside page 0 (57 x 4 at column 200, row 0)"});
    cases.push_back({"rectangle past row 255",
                     SwdBuilder()
                         .Entry(0, 0, 0, 1, 1)
                         .Entry(0, 1, 0, 1, 256)
                         .Page(page)
                         .Sequence(463, -2, 0)
                         .Build(),
                     "sprite 1 lies outside page 0 (1 x 256 at column 0, row 1)"});
    cases.push_back({"run past the sprites",
                     SwdBuilder()
                         .Entry(0, 0, 0, 1, 1)
                         .Entry(1, 0, 0, 1, 1)
                         .Page(page)
                         .Sequence(460, -1, 0)
                         .Sequence(463, -2, 1)
                         .Build(),
                     "object 1 (slot 463) runs past the last sprite: it claims sprites 1 to 2, but "
                     "the file holds 2"});
    cases.push_back({"positive count past the sprites",
                     SwdBuilder().Entry(0, 0, 0, 1, 1).Page(page).Sequence(460, 2, 0).Build(),
                     "object 0 (slot 460) runs past the last sprite: it claims sprites 0 to 1, but "
                     "the file holds 1"});
    cases.push_back({"empty object past the end",
                     SwdBuilder()
                         .Entry(0, 0, 0, 1, 1)
                         .Page(page)
                         .Sequence(460, -1, 0)
                         .Sequence(494, 0, 2)
                         .Build(),
                     "object 1 (slot 494) starts at sprite 2, past the 1 sprites of the file"});
    cases.push_back({"overlapping runs",
                     SwdBuilder()
                         .Entry(0, 0, 0, 1, 1)
                         .Entry(1, 0, 0, 1, 1)
                         .Entry(2, 0, 0, 1, 1)
                         .Page(page)
                         .Sequence(463, -1, 2)
                         .Sequence(460, -2, 1)
                         .Sequence(494, -2, 0)
                         .Build(),
                     "object 1 (slot 460) and object 2 (slot 494) both claim sprite 1"});
    cases.push_back({"no sprites stated but data follows",
                     SwdBuilder().Tail(std::vector<std::uint8_t>(40, 7)).Build(),
                     "it states no sprites, pages or objects, yet 40 more bytes follow"});
    cases.push_back({"one page area named more often than the page can hold",
                     SwdBuilder()
                         .Entry(0, 0, 0, 256, 128)
                         .Entry(0, 100, 0, 256, 128)
                         .Entry(0, 128, 0, 256, 1)
                         .Page(page)
                         .Sequence(463, -3, 0)
                         .Build(),
                     "the sprites on page 0 cover more pixels than the page holds (from sprite 2 "
                     "on)"});
    cases.push_back({"empty object inside a run",
                     SwdBuilder()
                         .Entry(0, 0, 0, 1, 1)
                         .Entry(1, 0, 0, 1, 1)
                         .Entry(2, 0, 0, 1, 1)
                         .Page(page)
                         .Sequence(463, -3, 0)
                         .Sequence(494, 0, 3)
                         .Sequence(470, 0, 2)
                         .Build(),
                     "object 2 (slot 470) has no sprites but starts at sprite 2, inside the "
                     "sprites of object 0 (slot 463)"});
    cases.push_back({"same run twice",
                     SwdBuilder()
                         .Entry(0, 0, 0, 1, 1)
                         .Page(page)
                         .Sequence(463, -1, 0)
                         .Sequence(463, -1, 0)
                         .Build(),
                     "object 0 (slot 463) and object 1 (slot 463) both claim sprite 0"});
    return cases;
}

TEST(DamagedSwd, EveryDamageIsRefusedByNameAndTheDocumentStaysAsItWas) {
    const SpriteWad before = swdtest::LoadedDocument();
    for (const DamagedCase& c : DamagedCases()) {
        SCOPED_TRACE(c.name);
        SpriteWad wad = before;
        const swd::Result r = swd::ReadSwd(c.bytes, wad);
        EXPECT_EQ(r.status, swd::Status::Damaged);
        EXPECT_EQ(r.message, "This sprite wad is damaged: " + c.message);
        swdtest::ExpectSameDocument(wad, before);
    }
}

// The file reader fetches the parts of the file as the parser reaches them; it must judge
// every damaged file exactly as the reader of bytes in memory does.
TEST(DamagedSwd, FilesOnDiskAreJudgedLikeBytesInMemory) {
    fixtures::TempDir dir;
    const SpriteWad before = swdtest::LoadedDocument();
    for (const DamagedCase& c : DamagedCases()) {
        SCOPED_TRACE(c.name);
        fixtures::WriteFileBytes(dir / "damaged.swd", c.bytes);
        SpriteWad wad = before;
        swd::SwdFileInfo info;
        const swd::Result r = swd::ReadSwdFile((dir / "damaged.swd").string(), wad, &info);
        EXPECT_EQ(r.status, swd::Status::Damaged);
        EXPECT_EQ(r.message, "This sprite wad is damaged: " + c.message);
        swdtest::ExpectSameDocument(wad, before);
    }
    const auto full = swdtest::SmallWadBuilder().Build();
    for (std::size_t size : {std::size_t{0}, std::size_t{3}, std::size_t{9}, std::size_t{90},
                             swdtest::PageOffset(5) + kPageBytes + 7, full.size() - 1}) {
        fixtures::WriteFileBytes(dir / "cut.swd",
                                 {full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size)});
        SpriteWad wad = before;
        const swd::Result r = swd::ReadSwdFile((dir / "cut.swd").string(), wad);
        EXPECT_EQ(r.status, size < 4 ? swd::Status::WrongVersion : swd::Status::Damaged) << size;
        swdtest::ExpectSameDocument(wad, before);
    }
}

TEST(DamagedSwd, EmptyObjectMayStartRightAfterTheLastSprite) {
    const auto bytes = SwdBuilder()
                           .Entry(0, 0, 0, 1, 1)
                           .Page(MakeTexture(256, 256, 21))
                           .Sequence(460, -1, 0)
                           .Sequence(494, 0, 1)
                           .Sequence(463, 0, 0)
                           .Build();
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwd(bytes, wad).ok());
}

TEST(DamagedSwd, TruncationAtEveryOffsetIsRefusedAndNeverCrashes) {
    const auto full = swdtest::SmallWadBuilder().Build();
    const SpriteWad before = swdtest::LoadedDocument();
    SpriteWad wad = before;
    for (std::size_t size = 0; size < full.size(); ++size) {
        const std::span<const std::uint8_t> cut(full.data(), size);
        const swd::Result r = swd::ReadSwd(cut, wad);
        ASSERT_FALSE(r.ok()) << "a file cut to " << size << " bytes loaded";
        ASSERT_EQ(r.status, size < 4 ? swd::Status::WrongVersion : swd::Status::Damaged) << size;
        ASSERT_EQ(wad.m_textures.size(), before.m_textures.size()) << size;
    }
    swdtest::ExpectSameDocument(wad, before);
    EXPECT_TRUE(swd::ReadSwd(full, wad).ok());
}

TEST(DamagedSwd, RandomlyCorruptedHeadersNeverCrashAndLoadOnlyConsistentDocuments) {
    // Corrupt the small structured parts (counts, entries, the page size, sequences); the
    // page pixels themselves cannot make a file invalid.
    const auto full = swdtest::SmallWadBuilder().Build();
    const std::size_t pageStart = swdtest::PageOffset(5);
    const std::size_t tailStart = pageStart + 2 * kPageBytes;
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    const SpriteWad before = swdtest::LoadedDocument();
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        auto bytes = full;
        const int flips = 1 + round % 4;
        for (int f = 0; f < flips; ++f) {
            std::uniform_int_distribution<std::size_t> where(0, pageStart +
                                                                    (full.size() - tailStart) - 1);
            std::size_t at = where(rng);
            if (at >= pageStart) {
                at = at - pageStart + tailStart;
            }
            bytes[at] = static_cast<std::uint8_t>(byte(rng));
        }
        SpriteWad wad = before;
        swd::SwdFileInfo info;
        const swd::Result r = swd::ReadSwd(bytes, wad, &info);
        if (r.ok()) {
            ++loaded;
            ASSERT_EQ(wad.m_textures.size(), info.entryCount);
            ASSERT_EQ(wad.m_sequences.size(), info.sequenceCount);
            ASSERT_TRUE(wad.m_entries.empty());
            ASSERT_TRUE(wad.m_pages.empty());
            for (const ObjectSequence& s : wad.m_sequences) {
                ASSERT_LE(s.firstTexture + s.TextureCount(),
                          static_cast<int>(wad.m_textures.size()));
            }
        } else {
            ASSERT_NE(r.status, swd::Status::Ok);
            ASSERT_EQ(wad.m_textures.size(), before.m_textures.size());
            ASSERT_EQ(wad.m_sequences, before.m_sequences);
        }
    }
    // Flips in reserved bytes, pixel-free positions and slot numbers are harmless, so some
    // corrupted files load; most do not.
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 3000);
}

} // namespace
