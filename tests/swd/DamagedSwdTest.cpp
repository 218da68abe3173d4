#include "SwdTestSupport.h"

#include <cstring>
#include <string>

using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

// `count` 1 x 1 sprites side by side on one page.
SwdBuilder Pixels(int count) {
    SwdBuilder b;
    for (int i = 0; i < count; ++i) {
        b.Entry(static_cast<std::uint8_t>(i), 0, 0, 1, 1);
    }
    return b.Page(fixtures::MakeTexture(256, 256, 20));
}

// The file reader fetches the parts of the file as the parser reaches them; it must judge
// every damaged file exactly as the reader of bytes in memory does. Every cut of a sound
// file is refused too.
TEST(DamagedSwd, EveryDamageIsRefusedByNameAndTheDocumentStays) {
    const std::vector<std::uint8_t> page = Pixels(0).Build(), one = Pixels(1).Build();
    const struct {
        std::vector<std::uint8_t> bytes;
        std::string message;
    } cases[] = {
        // clang-format off
        {{0x81, 0, 0, 0, 1, 0}, "the file ends before the number of sprites"},
        {SwdBuilder().StatedEntryCount(65537).Build(),
         "it states 65537 sprites, more than the 65536 a sprite wad can hold"},
        {SwdBuilder().Entry(0, 0, 0, 1, 1).StatedEntryCount(40).Build(),
         "the file ends inside the sprite entries (40 stated, room for 1)"},
        {{one.begin(), one.begin() + 26}, "the file ends before the size of the texture pages"},
        {Pixels(0).StatedPageBytes(3 * kPageBytes).Build(),
         "the file ends inside the texture pages (3 stated, 1 present)"},
        {{page.begin(), page.end() - 1}, "the file ends before the number of objects"},
        {SwdBuilder().StatedSequenceCount(0xFFFFFFFF).Build(),
         "the file ends inside the object sequences (4294967295 stated, room for 0)"},
        {Pixels(1).Entry(0, 0, 1, 4, 4).Build(),
         "sprite 1 lies on page 1, but the file holds 1 page"},
        // An entry names its page in 16 bits: its low byte alone would name page 0.
        {Pixels(0).Entry(0, 0, 256, 4, 4).Build(),
         "sprite 0 lies on page 256, but the file holds 1 page"},
        {Pixels(0).Entry(0, 1, 0, 1, 256).Build(),
         "sprite 0 lies outside page 0 (1 x 256 at column 0, row 1)"},
        {Pixels(0).Entry(200, 0, 0, 57, 4).Build(),
         "sprite 0 lies outside page 0 (57 x 4 at column 200, row 0)"},
        {Pixels(2).Sequence(460, -1, 0).Sequence(463, -2, 1).Build(),
         "object 1 (slot 463) runs past the last sprite: it claims sprites 1 to 2, but the file holds 2"},
        {Pixels(1).Sequence(460, 2, 0).Build(),
         "object 0 (slot 460) runs past the last sprite: it claims sprites 0 to 1, but the file holds 1"},
        {Pixels(1).Sequence(460, -1, 0).Sequence(494, 0, 2).Build(),
         "object 1 (slot 494) starts at sprite 2, past the 1 sprites of the file"},
        {Pixels(3).Sequence(463, -1, 2).Sequence(460, -2, 1).Sequence(494, -2, 0).Build(),
         "object 1 (slot 460) and object 2 (slot 494) both claim sprite 1"},
        {SwdBuilder().Tail(std::vector<std::uint8_t>(40, 7)).Build(),
         "it states no sprites, pages or objects, yet 40 more bytes follow"},
        // clang-format on
    };
    fixtures::TempDir dir;
    const SpriteWad before = swdtest::LoadedDocument();
    SpriteWad wad = before;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        fixtures::WriteFileBytes(dir / "damaged.swd", c.bytes);
        for (const swd::Result& r :
             {swd::ReadSwd(c.bytes, wad), swd::ReadSwdFile((dir / "damaged.swd").string(), wad)}) {
            EXPECT_EQ(r.status, swd::Status::Damaged);
            EXPECT_EQ(r.message, "This sprite wad is damaged: " + c.message);
        }
        EXPECT_TRUE(wad == before);
    }
    const auto full = fixtures::SmallWad().Build();
    for (std::size_t size = 0; size < full.size(); ++size) {
        const swd::Status expected = size < 4 ? swd::Status::WrongVersion : swd::Status::Damaged;
        ASSERT_EQ(swd::ReadSwd(std::span(full.data(), size), wad).status, expected) << size;
    }
    EXPECT_TRUE(wad == before);
}

// The file is little-endian, as is every host we build for.
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    std::memcpy(bytes.data() + at, &v, 4);
}

// A file that reads as 1 sprite on 1 page and, with the pages of the first reading holding
// the rest, as 2 sprites on 4 pages; `count` is its stated sprite count.
std::vector<std::uint8_t> TwoCountsFit(std::uint32_t count) {
    std::vector<std::uint8_t> bytes(swdtest::PageOffset(2) + 4 * kPageBytes + 4);
    PutU32(bytes, 0, 129);
    PutU32(bytes, 4, count);
    PutU32(bytes, 24, 3 << 16);        // sprite 1 at (0, 0) of page 3; D = 1 page
    PutU32(bytes, 40, 4 * kPageBytes); // D of the second reading
    return bytes;
}

TEST(ZeroCountRecovery, OneFittingCountIsOfferedAndLoadedOnlyWhenAsked) {
    const struct {
        std::vector<std::uint8_t> bytes;
        std::uint32_t recoverable; // 0: refused even when recovering
        std::uint64_t tail;
    } cases[] = {
        {fixtures::SmallWad().StatedEntryCount(0).Build(), 5, 0},
        {fixtures::SmallWad().StatedEntryCount(0).Tail(std::vector<std::uint8_t>(777, 9)).Build(),
         5, 777},
        {TwoCountsFit(0), 0, 0},
    };
    SpriteWad original;
    ASSERT_TRUE(swd::ReadSwd(fixtures::SmallWad().Build(), original).ok());
    const SpriteWad before = swdtest::LoadedDocument();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        SpriteWad wad = before;
        swd::SwdFileInfo info;
        EXPECT_EQ(swd::ReadSwd(c.bytes, wad, &info).status, swd::Status::Damaged);
        EXPECT_EQ(info.recoverableEntryCount, c.recoverable);
        EXPECT_TRUE(wad == before);
        const swd::Result r = swd::ReadSwd(c.bytes, wad, &info, {.recoverZeroCount = true});
        EXPECT_EQ(r.ok(), c.recoverable != 0);
        EXPECT_TRUE(wad == (r.ok() ? original : before));
        EXPECT_TRUE(!r.ok() || info.trailingBytes == c.tail) << info.trailingBytes;
    }
    // Each reading of the two alone loads, so both really fit.
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwd(TwoCountsFit(1), wad).ok());
    EXPECT_TRUE(swd::ReadSwd(TwoCountsFit(2), wad).ok());
}

} // namespace
