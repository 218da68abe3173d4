#include "SwdTestSupport.h"

#include <gtest/gtest.h>

using fixtures::SwdBuilder;
using swdtest::kPageBytes;

namespace {

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// The small wad with its header's sprite count overwritten by 0.
std::vector<std::uint8_t> ZeroCounted(SwdBuilder b) {
    auto bytes = b.Build();
    PutU32(bytes, 4, 0);
    return bytes;
}

// A zero-count file that reads as a wad of 1 sprite on 1 page and, with the pages of the first
// reading holding the rest, as a wad of 2 sprites on 4 pages.
std::vector<std::uint8_t> TwoCountsFit() {
    std::vector<std::uint8_t> bytes(swdtest::PageOffset(2) + 4 * kPageBytes + 4);
    PutU32(bytes, 0, 129);
    PutU32(bytes, 24, 3 << 16);        // sprite 1 at (0, 0) of page 3; D = 1 page
    PutU32(bytes, 40, 4 * kPageBytes); // D of the second reading
    PutU32(bytes, swdtest::PageOffset(1) + kPageBytes, 0); // no objects in the first reading
    return bytes;
}

struct RecoveryCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::uint32_t recoverable; // 0: refused even when recovering
    std::uint64_t tail;
};

TEST(ZeroCountRecovery, OneFittingCountIsOfferedAndLoadedOnlyWhenAsked) {
    const std::vector<RecoveryCase> cases{
        {"ends at the end of the file", ZeroCounted(fixtures::SmallWad()), 5, 0},
        {"stale tail", ZeroCounted(fixtures::SmallWad().Tail(std::vector<std::uint8_t>(777, 9))), 5,
         777},
        {"two counts fit", TwoCountsFit(), 0, 0},
    };
    SpriteWad original;
    ASSERT_TRUE(swd::ReadSwd(fixtures::SmallWad().Build(), original).ok());
    const SpriteWad before = swdtest::LoadedDocument();
    for (const RecoveryCase& c : cases) {
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
    auto one = TwoCountsFit();
    PutU32(one, 4, 1);
    auto two = TwoCountsFit();
    PutU32(two, 4, 2);
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwd(one, wad).ok());
    EXPECT_TRUE(swd::ReadSwd(two, wad).ok());
}

TEST(ZeroCountRecovery, RealZeroCountFileRecoversItsEightyEightSprites) {
    const auto dir = fixtures::RealSwdDir();
    if (dir.empty()) {
        GTEST_SKIP() << "no real sprite wads here";
    }
    SpriteWad wad;
    swd::SwdFileInfo info;
    const std::string path = (dir / "tdr_kriegler_zero_count.swd").string();
    const swd::Result r = swd::ReadSwdFile(path, wad, &info, {.recoverZeroCount = true});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(info.recoverableEntryCount, 88u);
    EXPECT_EQ(info.pageCount, 14u);
    EXPECT_EQ(info.trailingBytes, 0u);
    EXPECT_EQ(wad.m_sequences, (std::vector<ObjectSequence>{
                                   {470, -21, 0}, {494, -30, 21}, {463, -33, 51}, {460, -4, 84}}));
    EXPECT_EQ(wad.TextureCount(), 88u);
}

} // namespace
