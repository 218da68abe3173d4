#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using swdtest::kPageBytes;

namespace {

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
        swdtest::ExpectSameDocument(wad, before);
        const swd::Result r = swd::ReadSwd(c.bytes, wad, &info, {.recoverZeroCount = true});
        EXPECT_EQ(r.ok(), c.recoverable != 0);
        swdtest::ExpectSameDocument(wad, r.ok() ? original : before);
        EXPECT_TRUE(!r.ok() || info.trailingBytes == c.tail) << info.trailingBytes;
    }
    // Each reading of the two alone loads, so both really fit.
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwd(TwoCountsFit(1), wad).ok());
    EXPECT_TRUE(swd::ReadSwd(TwoCountsFit(2), wad).ok());
}

} // namespace
