#include "SwdTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// An entry names its page in 16 bits: page 256 of a one-page file is no page at all, though
// its low byte names page 0.
TEST(SwdLimits, EntryOnPage256OfAOnePageFileIsRefused) {
    SpriteWad wad = swdtest::LoadedDocument();
    const SpriteWad before = wad;
    fixtures::SwdBuilder b;
    b.Entry(0, 0, 256, 4, 4).Page(fixtures::MakeTexture(256, 256, 3)).Sequence(463, -1, 0);
    EXPECT_EQ(swd::ReadSwd(b.Build(), wad).status, swd::Status::Damaged);
    swdtest::ExpectSameDocument(wad, before);
}

// 65 536 one-pixel sprites fill one page exactly, the most entries a first index and a count
// can reach: that file is written and reads back, one entry more is refused before the file
// is touched.
TEST(SwdLimits, WriterTakesSixtyFiveThousandFiveHundredThirtySixEntriesAndRefusesOneMore) {
    fixtures::TempDir dir;
    const std::string path = (dir / "full.swd").string();
    SpriteWad wad;
    for (int i = 0; i < 65536; ++i) {
        wad.m_entries.push_back(SpriteEntry::At(i % 256, i / 256, 0, 1, 1));
    }
    wad.m_pages = {fixtures::MakeTexture(256, 256, 5)};
    wad.m_sequences = {{463, -32768, 0}, {464, -32768, 32768}};
    const swd::Result written = swd::WriteSwdFile(path, wad);
    ASSERT_TRUE(written.ok()) << written.message;
    SpriteWad back;
    const swd::Result read = swd::ReadSwdFile(path, back);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(back.m_sequences, wad.m_sequences);
    ASSERT_EQ(back.m_textures.size(), 65536u);
    for (int i = 0; i < 65536; ++i) {
        ASSERT_EQ(fixtures::PixelAt(back.m_textures[i], 0, 0),
                  fixtures::PixelAt(wad.m_pages[0], i % 256, i / 256))
            << i;
    }

    const auto bytes = fixtures::ReadFileBytes(path);
    wad.m_entries.push_back(SpriteEntry::At(0, 0, 1, 1, 1));
    wad.m_pages.push_back(fixtures::MakeTexture(256, 256, 6));
    EXPECT_EQ(swd::WriteSwdFile(path, wad).status, swd::Status::WriteFailed);
    EXPECT_TRUE(fixtures::ReadFileBytes(path) == bytes);
    EXPECT_EQ(swd::WriteSwdFile((dir / "more.swd").string(), wad).status, swd::Status::WriteFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "more.swd"));
}

} // namespace
