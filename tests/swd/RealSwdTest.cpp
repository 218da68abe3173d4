#include "SwdTestSupport.h"

#include "model/ListLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

struct RealFile {
    const char* name;
    std::uint32_t entries, pages;
    std::size_t trailing;
    std::vector<std::string> objectLines;
};

const std::vector<RealFile> kRealFiles{
    {"ten_coastal.swd",
     37,
     1,
     0,
     {"460: SKY_GRAPHICS  Textures=4", "463: DEFAULT_SPRITES  Textures=33"}},
    {"tdr_title.swd",
     82,
     10,
     0,
     {"460: SKY_GRAPHICS  Textures=4", "463: DEFAULT_SPRITES  Textures=33",
      "494: CUSTOM_SPRITES  Textures=24", "470: FONT_GRAPHICS  Textures=21"}},
    {"trfr_font_times.swd", 21, 6, 0, {"470: FONT_GRAPHICS  Textures=21"}},
    {"trfr_lvl1_stale_tail.swd",
     37,
     4,
     393216,
     {"463: DEFAULT_SPRITES  Textures=33", "460: SKY_GRAPHICS  Textures=4"}},
    {"empty16.swd", 0, 0, 0, {}},
};

class RealSwd : public ::testing::Test {
protected:
    void SetUp() override {
        if (dir.empty()) {
            GTEST_SKIP() << "no real sprite wads here";
        }
    }
    const std::filesystem::path dir = fixtures::RealSwdDir();
};

TEST_F(RealSwd, EveryFileLoadsWithItsObjects) {
    for (const RealFile& f : kRealFiles) {
        SCOPED_TRACE(f.name);
        SpriteWad wad;
        swd::SwdFileInfo info;
        const swd::Result r = swd::ReadSwdFile((dir / f.name).string(), wad, &info);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(info.version, 129u);
        EXPECT_EQ(info.entryCount, f.entries);
        EXPECT_EQ(info.pageCount, f.pages);
        EXPECT_EQ(info.trailingBytes, f.trailing);
        std::vector<std::string> lines;
        std::size_t covered = 0;
        for (const ObjectSequence& s : wad.m_sequences) {
            lines.push_back(FormatObjectLine(s));
            covered += static_cast<std::size_t>(s.TextureCount());
        }
        EXPECT_EQ(lines, f.objectLines);
        EXPECT_EQ(covered, wad.m_textures.size());
        EXPECT_EQ(wad.m_textures.size(), f.entries);
        EXPECT_TRUE(wad.RunsAreValid());
    }
}

// Its header states no sprites although 14 pages of them follow: opening it as an empty
// wad would hide them, so it is refused and the document keeps what it had.
TEST_F(RealSwd, ZeroCountFileWithItsSpritesBehindIsRefused) {
    SpriteWad wad;
    wad.m_sequences.push_back(ObjectSequence{494, 0, 0});
    const swd::Result r = swd::ReadSwdFile((dir / "tdr_kriegler_zero_count.swd").string(), wad);
    EXPECT_EQ(r.status, swd::Status::Damaged);
    EXPECT_EQ(r.message, "This sprite wad is damaged: it states no sprites, pages or objects, yet "
                         "2753952 more bytes follow");
    EXPECT_EQ(wad.m_sequences, (std::vector<ObjectSequence>{{494, 0, 0}}));
}

TEST_F(RealSwd, SpriteSizesMatchTheirSourcesAndTheCoastalSkyIsBlue) {
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwdFile((dir / "ten_coastal.swd").string(), wad).ok());
    std::uint64_t blue = 0;
    std::uint64_t red = 0;
    for (int k = 0; k < 4; ++k) {
        const SpriteTexture& t = wad.ObjectTexture(0, k);
        EXPECT_EQ(t.GetWidth(), 64);
        EXPECT_EQ(t.GetHeight(), 64);
        for (std::size_t i = 0; i < t.GetImageSize(); i += 3) {
            blue += t.GetBits()[i];
            red += t.GetBits()[i + 2];
        }
    }
    EXPECT_GT(blue, red) << "red and blue swapped";

    SpriteWad font;
    ASSERT_TRUE(swd::ReadSwdFile((dir / "trfr_font_times.swd").string(), font).ok());
    for (const SpriteTexture& t : font.m_textures) {
        EXPECT_EQ(t.GetWidth(), 126);
        EXPECT_EQ(t.GetHeight(), 126);
    }
}

// Every real file, its pages and entries taken straight from its bytes, is written back to
// exactly the bytes it was read from (less any ignored tail), and its sprites are the
// rectangles of those pages.
TEST_F(RealSwd, WriterRebuildsEveryFileByteForByte) {
    for (const RealFile& f : kRealFiles) {
        SCOPED_TRACE(f.name);
        const auto bytes = fixtures::ReadFileBytes(dir / f.name);
        SpriteWad wad;
        ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
        const std::size_t pageOffset = swdtest::PageOffset(f.entries);
        for (std::uint32_t i = 0; i < f.entries; ++i) {
            SpriteEntry entry;
            static_assert(std::endian::native == std::endian::little);
            std::memcpy(&entry, bytes.data() + 8 + 16 * i, 16);
            wad.m_entries.push_back(entry);
            EXPECT_EQ(wad.m_textures[i],
                      swdtest::CutFromFile(bytes, pageOffset, entry.page, entry.x, entry.y,
                                           entry.Width(), entry.Height()))
                << "sprite " << i;
        }
        for (std::uint32_t p = 0; p < f.pages; ++p) {
            wad.m_pages.push_back(
                swdtest::CutFromFile(bytes, pageOffset, static_cast<int>(p), 0, 0, 256, 256));
        }
        const auto written = swd::SerializeSwd(wad);
        ASSERT_EQ(written.size(), bytes.size() - f.trailing);
        EXPECT_TRUE(std::equal(written.begin(), written.end(), bytes.begin()));
    }
}

} // namespace
