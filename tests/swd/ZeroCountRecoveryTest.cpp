#include "SwdTestSupport.h"

#include <gtest/gtest.h>

using swdtest::kPageBytes;
using swdtest::PutU32;

namespace {

// The small wad with its header's sprite count overwritten by 0.
std::vector<std::uint8_t> ZeroCounted(fixtures::SwdBuilder b) {
    auto bytes = b.Build();
    PutU32(bytes, 4, 0);
    return bytes;
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
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::uint32_t recoverable; // 0: refused even when recovering
        std::uint64_t tail;
    } cases[] = {
        {"ends at the end of the file", ZeroCounted(fixtures::SmallWad()), 5, 0},
        {"stale tail", ZeroCounted(fixtures::SmallWad().Tail(std::vector<std::uint8_t>(777, 9))), 5,
         777},
        {"two counts fit", TwoCountsFit(0), 0, 0},
    };
    SpriteWad original;
    ASSERT_TRUE(swd::ReadSwd(fixtures::SmallWad().Build(), original).ok());
    const SpriteWad before = swdtest::LoadedDocument();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpriteWad wad = before;
        swd::SwdFileInfo info;
        swd::Result r = swd::ReadSwd(c.bytes, wad, &info);
        EXPECT_EQ(r.status, swd::Status::Damaged);
        EXPECT_EQ(info.recoverableEntryCount, c.recoverable);
        swdtest::ExpectSameDocument(wad, before);

        r = swd::ReadSwd(c.bytes, wad, &info, {.recoverZeroCount = true});
        if (c.recoverable == 0) {
            EXPECT_EQ(r.status, swd::Status::Damaged);
            swdtest::ExpectSameDocument(wad, before);
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.message;
        swdtest::ExpectSameDocument(wad, original);
        EXPECT_EQ(info.entryCount, c.recoverable);
        EXPECT_EQ(info.pageCount, 2u);
        EXPECT_EQ(info.trailingBytes, c.tail);
    }
    // Each reading of the two alone loads, so both really fit.
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwd(TwoCountsFit(1), wad).ok());
    EXPECT_TRUE(swd::ReadSwd(TwoCountsFit(2), wad).ok());
}

} // namespace
