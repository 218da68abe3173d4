#include "SwdTestSupport.h"

#include "model/ListLines.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>

namespace {

// A real wad, its pages and entries taken straight from its bytes, is written back to exactly
// the bytes it was read from, and its sprites are the rectangles of those pages.
TEST(RealSwd, TitleWadReadsItsObjectsAndSpritesAndWritesBackByteForByte) {
    const std::filesystem::path dir = fixtures::RealSwdDir();
    if (dir.empty()) {
        GTEST_SKIP() << "no real sprite wads here";
    }
    const std::filesystem::path file = dir / "tdr_title.swd";
    SpriteWad wad;
    swd::SwdFileInfo info;
    const swd::Result r = swd::ReadSwdFile(file.string(), wad, &info);
    ASSERT_TRUE(r.ok()) << r.message;
    std::vector<std::string> lines;
    for (const ObjectSequence& s : wad.m_sequences) {
        lines.push_back(FormatObjectLine(s));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "460: SKY_GRAPHICS  Textures=4", "463: DEFAULT_SPRITES  Textures=33",
                         "494: CUSTOM_SPRITES  Textures=24", "470: FONT_GRAPHICS  Textures=21"}));
    ASSERT_EQ(info.entryCount, 82u);
    ASSERT_EQ(info.pageCount, 10u);
    ASSERT_EQ(wad.m_textures.size(), 82u);

    const auto bytes = fixtures::ReadFileBytes(file);
    const std::size_t pageOffset = swdtest::PageOffset(info.entryCount);
    for (std::uint32_t i = 0; i < info.entryCount; ++i) {
        SpriteEntry entry;
        static_assert(std::endian::native == std::endian::little);
        std::memcpy(&entry, bytes.data() + 8 + 16 * i, 16);
        wad.m_entries.push_back(entry);
        EXPECT_EQ(wad.m_textures[i], swdtest::CutFromFile(bytes, pageOffset, entry.page, entry.x,
                                                          entry.y, entry.Width(), entry.Height()))
            << "sprite " << i;
    }
    for (std::uint32_t p = 0; p < info.pageCount; ++p) {
        wad.m_pages.push_back(
            swdtest::CutFromFile(bytes, pageOffset, static_cast<int>(p), 0, 0, 256, 256));
    }
    EXPECT_TRUE(swd::SerializeSwd(wad) == bytes);

    // A real file whose header says 0 sprites recovers its 88.
    const std::string zero = (dir / "tdr_kriegler_zero_count.swd").string();
    ASSERT_EQ(swd::ReadSwdFile(zero, wad).status, swd::Status::Damaged);
    const swd::Result z = swd::ReadSwdFile(zero, wad, &info, {.recoverZeroCount = true});
    ASSERT_TRUE(z.ok()) << z.message;
    EXPECT_EQ(info.recoverableEntryCount, 88u);
    EXPECT_EQ(info.pageCount, 14u);
    EXPECT_EQ(wad.m_sequences, (std::vector<ObjectSequence>{
                                   {470, -21, 0}, {494, -30, 21}, {463, -33, 51}, {460, -4, 84}}));
}

} // namespace
