// Reading only the first object of a wad for its picture: the same textures as the whole
// reader gives, and every damage in what it reads refused with nothing handed out.
#include "formats/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;

namespace {

// SmallWad's first object is 463, sprites 2 to 4.
TEST(PreviewRead, TheFirstObjectsFirstTexturesAreThoseOfTheWholeRead) {
    const fixtures::TempDir dir;
    const auto bytes = fixtures::SmallWad().Build();
    fixtures::WriteFileBytes(dir / "small.swd", bytes);
    SpriteWad whole;
    ASSERT_TRUE(swd::ReadSwd(bytes, whole).ok());
    for (const std::size_t limit : {0, 2, 3, 64}) {
        SCOPED_TRACE(limit);
        swd::FirstObjectPreview preview;
        ASSERT_TRUE(swd::ReadFirstObjectPreview((dir / "small.swd").string(), limit, preview).ok());
        EXPECT_EQ(preview.slotId, 463u);
        EXPECT_EQ(preview.textureCount, 3u);
        const std::vector<SpriteTexture> expected(
            whole.m_textures.begin() + 2,
            whole.m_textures.begin() + 2 +
                static_cast<std::ptrdiff_t>(std::min<std::size_t>(limit, 3)));
        EXPECT_TRUE(preview.textures == expected);
    }
    fixtures::WriteFileBytes(dir / "none.swd", SwdBuilder().Build());
    swd::FirstObjectPreview none;
    ASSERT_TRUE(swd::ReadFirstObjectPreview((dir / "none.swd").string(), 64, none).ok());
    EXPECT_EQ(none.textureCount, 0u);
    EXPECT_TRUE(none.textures.empty());
}

TEST(PreviewRead, DamageInWhatItReadsIsRefusedAndNothingHandedOut) {
    const fixtures::TempDir dir;
    const auto page = MakeTexture(256, 256, 9);
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> damaged = {
        {"version 130", SwdBuilder().Version(130).Build()},
        {"too many sprites", SwdBuilder().StatedEntryCount(65537).Build()},
        {"first object past the sprites",
         SwdBuilder().Entry(0, 0, 0, 4, 4).Page(page).Sequence(460, -2, 0).Build()},
        {"empty first object past the sprites",
         SwdBuilder().Entry(0, 0, 0, 4, 4).Page(page).Sequence(460, 0, 2).Build()},
        {"sprite on a missing page",
         SwdBuilder().Entry(0, 0, 1, 4, 4).Page(page).Sequence(460, -1, 0).Build()},
        {"sprite outside its page",
         SwdBuilder().Entry(250, 0, 0, 7, 4).Page(page).Sequence(460, -1, 0).Build()},
        {"more pages stated than present", SwdBuilder()
                                               .Entry(0, 0, 0, 4, 4)
                                               .Page(page)
                                               .StatedPageBytes(3 * 196608)
                                               .Sequence(460, -1, 0)
                                               .Build()},
        {"more objects stated than present", SwdBuilder()
                                                 .Entry(0, 0, 0, 4, 4)
                                                 .Page(page)
                                                 .Sequence(460, -1, 0)
                                                 .StatedSequenceCount(0xFFFFFFFF)
                                                 .Build()},
    };
    const auto whole = fixtures::SmallWad().Build();
    for (std::size_t size = 0; size < whole.size(); size += size < 200 ? 1 : 9973) {
        damaged.emplace_back("cut to " + std::to_string(size),
                             std::vector<std::uint8_t>(whole.begin(), whole.begin() + size));
    }
    for (const auto& [name, bytes] : damaged) {
        SCOPED_TRACE(name);
        fixtures::WriteFileBytes(dir / "in.swd", bytes);
        swd::FirstObjectPreview preview;
        preview.slotId = 7;
        preview.textures.push_back(page);
        EXPECT_FALSE(swd::ReadFirstObjectPreview((dir / "in.swd").string(), 64, preview).ok());
        EXPECT_EQ(preview.slotId, 7u);
        EXPECT_EQ(preview.textures.size(), 1u);
    }
}

} // namespace
