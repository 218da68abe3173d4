#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

// `count` 1 x 1 sprites side by side on one page.
SwdBuilder Pixels(int count) {
    SwdBuilder b;
    for (int i = 0; i < count; ++i) {
        b.Entry(static_cast<std::uint8_t>(i), 0, 0, 1, 1);
    }
    b.Page(MakeTexture(256, 256, 20));
    return b;
}

struct DamagedCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string message;
};

std::vector<DamagedCase> DamagedCases() {
    const TexturePage page = MakeTexture(256, 256, 20);
    auto noPageSize = SwdBuilder().Entry(0, 0, 0, 1, 1).Build();
    noPageSize.resize(8 + 16 + 2);
    auto noObjectCount = SwdBuilder().Page(page).Build();
    noObjectCount.pop_back();
    return {
        {"no entry count", {0x81, 0, 0, 0, 1, 0}, "the file ends before the number of sprites"},
        {"entry count over 65536", SwdBuilder().StatedEntryCount(65537).Build(),
         "it states 65537 sprites, more than the 65536 a sprite wad can hold"},
        {"huge entry count", SwdBuilder().StatedEntryCount(0xFFFFFFFF).Build(),
         "it states 4294967295 sprites, more than the 65536 a sprite wad can hold"},
        {"entries cut short", SwdBuilder().Entry(0, 0, 0, 1, 1).StatedEntryCount(40).Build(),
         "the file ends inside the sprite entries (40 stated, room for 1)"},
        {"no page size", noPageSize, "the file ends before the size of the texture pages"},
        {"pages cut short", SwdBuilder().Page(page).StatedPageBytes(3 * kPageBytes).Build(),
         "the file ends inside the texture pages (3 stated, 1 present)"},
        {"no object count", noObjectCount, "the file ends before the number of objects"},
        {"objects cut short", SwdBuilder().Sequence(460, 0, 0).StatedSequenceCount(1000).Build(),
         "the file ends inside the object sequences (1000 stated, room for 1)"},
        {"huge object count", SwdBuilder().StatedSequenceCount(0xFFFFFFFF).Build(),
         "the file ends inside the object sequences (4294967295 stated, room for 0)"},
        {"page past the page count",
         SwdBuilder().Entry(0, 0, 0, 4, 4).Entry(0, 0, 1, 4, 4).Page(page).Build(),
         "sprite 1 lies on page 1, but the file holds 1 page"},
        // An entry names its page in 16 bits: its low byte alone would name page 0.
        {"page 256 of a one-page file", SwdBuilder().Entry(0, 0, 256, 4, 4).Page(page).Build(),
         "sprite 0 lies on page 256, but the file holds 1 page"},
        {"page without any pages", SwdBuilder().Entry(0, 0, 0, 4, 4).Build(),
         "sprite 0 lies on page 0, but the file holds 0 pages"},
        {"rectangle past row 255", SwdBuilder().Entry(0, 1, 0, 1, 256).Page(page).Build(),
         "sprite 0 lies outside page 0 (1 x 256 at column 0, row 1)"},
        {"rectangle past column 255", SwdBuilder().Entry(200, 0, 0, 57, 4).Page(page).Build(),
         "sprite 0 lies outside page 0 (57 x 4 at column 200, row 0)"},
        {"run past the sprites", Pixels(2).Sequence(460, -1, 0).Sequence(463, -2, 1).Build(),
         "object 1 (slot 463) runs past the last sprite: it claims sprites 1 to 2, but the file "
         "holds 2"},
        {"positive count past the sprites", Pixels(1).Sequence(460, 2, 0).Build(),
         "object 0 (slot 460) runs past the last sprite: it claims sprites 0 to 1, but the file "
         "holds 1"},
        {"empty object past the end", Pixels(1).Sequence(460, -1, 0).Sequence(494, 0, 2).Build(),
         "object 1 (slot 494) starts at sprite 2, past the 1 sprites of the file"},
        {"overlapping runs",
         Pixels(3).Sequence(463, -1, 2).Sequence(460, -2, 1).Sequence(494, -2, 0).Build(),
         "object 1 (slot 460) and object 2 (slot 494) both claim sprite 1"},
        {"no sprites stated but data follows",
         SwdBuilder().Tail(std::vector<std::uint8_t>(40, 7)).Build(),
         "it states no sprites, pages or objects, yet 40 more bytes follow"},
    };
}

// The file reader fetches the parts of the file as the parser reaches them; it must judge
// every damaged file exactly as the reader of bytes in memory does.
TEST(DamagedSwd, EveryDamageIsRefusedByNameFromMemoryAndDiskAndTheDocumentStays) {
    fixtures::TempDir dir;
    const SpriteWad before = swdtest::LoadedDocument();
    for (const DamagedCase& c : DamagedCases()) {
        SCOPED_TRACE(c.name);
        SpriteWad wad = before;
        swd::Result r = swd::ReadSwd(c.bytes, wad);
        EXPECT_EQ(r.status, swd::Status::Damaged);
        EXPECT_EQ(r.message, "This sprite wad is damaged: " + c.message);
        swdtest::ExpectSameDocument(wad, before);

        fixtures::WriteFileBytes(dir / "damaged.swd", c.bytes);
        r = swd::ReadSwdFile((dir / "damaged.swd").string(), wad);
        EXPECT_EQ(r.status, swd::Status::Damaged);
        EXPECT_EQ(r.message, "This sprite wad is damaged: " + c.message);
        swdtest::ExpectSameDocument(wad, before);
    }
}

TEST(DamagedSwd, TruncationAtEveryOffsetIsRefusedAndNeverCrashes) {
    const auto full = fixtures::SmallWad().Build();
    const SpriteWad before = swdtest::LoadedDocument();
    SpriteWad wad = before;
    for (std::size_t size = 0; size < full.size(); ++size) {
        const std::span<const std::uint8_t> cut(full.data(), size);
        const swd::Status expected = size < 4 ? swd::Status::WrongVersion : swd::Status::Damaged;
        ASSERT_EQ(swd::ReadSwd(cut, wad).status, expected) << size;
        ASSERT_EQ(wad.m_textures.size(), before.m_textures.size()) << size;
    }
    swdtest::ExpectSameDocument(wad, before);
    EXPECT_TRUE(swd::ReadSwd(full, wad).ok());
}

TEST(DamagedSwd, RandomlyCorruptedHeadersNeverCrashAndLoadOnlyConsistentDocuments) {
    // Corrupt the small structured parts (counts, entries, the page size, sequences); the
    // page pixels themselves cannot make a file invalid.
    const auto full = fixtures::SmallWad().Build();
    const std::size_t pageStart = swdtest::PageOffset(5);
    const std::size_t tailStart = pageStart + 2 * kPageBytes;
    std::mt19937 rng(12345);
    std::uniform_int_distribution<std::size_t> where(0, pageStart + (full.size() - tailStart) - 1);
    const SpriteWad before = swdtest::LoadedDocument();
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        auto bytes = full;
        for (int f = 0; f <= round % 4; ++f) {
            const std::size_t at = where(rng);
            bytes[at < pageStart ? at : at - pageStart + tailStart] =
                static_cast<std::uint8_t>(rng());
        }
        SpriteWad wad = before;
        swd::SwdFileInfo info;
        if (swd::ReadSwd(bytes, wad, &info).ok()) {
            ++loaded;
            ASSERT_EQ(wad.m_textures.size(), info.entryCount);
            ASSERT_EQ(wad.m_sequences.size(), info.sequenceCount);
            // Once every object holds a texture, the runs must be whole and apart.
            for (std::size_t k = 0; k < wad.ObjectCount(); ++k) {
                ASSERT_TRUE(wad.AddTexture(k, MakeTexture(1, 1, 0)));
            }
            ASSERT_TRUE(wad.RunsAreValid());
        } else {
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
