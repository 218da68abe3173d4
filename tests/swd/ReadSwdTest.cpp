#include "SwdTestSupport.h"
#include "model/PixelSwap.h"

#include <cerrno>
#include <system_error>
#include <utility>

using fixtures::MakeTexture;
using fixtures::SwdBuilder;
using swdtest::kPageBytes;

// Each sprite is its rectangle of its page and the document is replaced. With the entries
// and pages taken from the file, writing gives back exactly the bytes read. Files other
// tools write load too: a page size of whole pages and 5 bytes, a positive count, unsorted
// slots, an empty object inside a run, reserved bytes set, overlapping rectangles.
TEST(ReadSwd, CutsEverySpriteFromItsPageAndWritesTheFileBackByteForByte) {
    const TexturePage p1 = MakeTexture(256, 256, 4), p2 = MakeTexture(256, 256, 5);
    struct File {
        std::vector<std::uint8_t> bytes;
        std::vector<ObjectSequence> sequences;
        bool writesBack = false;
    };
    // clang-format off
    std::vector<File> files{
        {fixtures::SmallWad().Build(), {{463, -3, 2}, {460, -2, 0}, {494, 0, 5}}, true},
        {SwdBuilder().Entry(0, 0, 1, 4, 4).Page(p1).Page(p2).StatedPageBytes(2 * kPageBytes + 5)
             .Sequence(463, -1, 0).Build(), {{463, -1, 0}}},
        {SwdBuilder().Entry(0, 0, 0, 8, 8).Entry(8, 0, 0, 8, 8).Page(p1).Sequence(494, 1, 1)
             .Sequence(470, 0, 2).Sequence(463, -1, 0).Tail({0xAB}).Build(),
         {{494, 1, 1}, {470, 0, 2}, {463, -1, 0}}},
        {SwdBuilder().Entry(2, 3, 0, 4, 5).Entry(0, 0, 0, 256, 256).Entry(250, 3, 0, 6, 9).Page(p1)
             .Sequence(460, -3, 0).Build(), {{460, -3, 0}}, true},
    };
    // clang-format on
    if (const auto dir = fixtures::RealSwdDir(); !dir.empty()) {
        files.push_back({fixtures::ReadFileBytes(dir / "tdr_title.swd"),
                         {{460, -4, 0}, {463, -33, 4}, {494, -24, 37}, {470, -21, 61}},
                         true});
    }
    for (auto& [bytes, sequences, writesBack] : files) {
        SCOPED_TRACE(bytes.size());
        bytes[8 + 4] = bytes[8 + 6] = 0xFF; // reserved entry bytes
        SpriteWad wad = swdtest::LoadedDocument();
        ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
        EXPECT_TRUE(wad.m_entries.empty() && wad.m_pages.empty());
        EXPECT_EQ(wad.m_sequences, sequences);
        const SpriteWad laidOut = swdtest::WithFileLayout(bytes);
        ASSERT_EQ(laidOut.m_entries.size(), wad.m_textures.size());
        for (std::size_t i = 0; i < wad.m_textures.size(); ++i) {
            const SpriteEntry& e = laidOut.m_entries[i];
            EXPECT_EQ(wad.m_textures[i],
                      swdtest::CutFromFile(bytes, swdtest::PageOffset(wad.m_textures.size()),
                                           e.page, e.x, e.y, e.Width(), e.Height()))
                << i;
        }
        EXPECT_TRUE(!writesBack || swd::SerializeSwd(laidOut) == bytes);
    }
}

TEST(ReadSwd, OtherVersionsAndUnopenableFilesAreRefusedWithTheDocumentUnchanged) {
    const SpriteWad before = swdtest::LoadedDocument();
    SpriteWad wad = before;
    for (std::uint32_t version : {128u, 130u, 0x81000000u}) {
        EXPECT_EQ(swd::ReadSwd(SwdBuilder().Version(version).Build(), wad).message,
                  swd::kWrongVersionMessage);
    }
    // The system's own reason follows the file's name (Windows words it its own way).
    fixtures::TempDir dir;
    const std::pair<std::string, int> unopenable[] = {{(dir / "absent.swd").string(), ENOENT},
                                                      {dir.path().string(), EISDIR}};
    for (const auto& [file, error] : unopenable) {
        const std::string message = swd::ReadSwdFile(file, wad).message;
        EXPECT_EQ(message.rfind("Cannot open the file \"" + file + "\": ", 0), 0u) << message;
#ifndef _WIN32
        EXPECT_TRUE(message.ends_with(std::generic_category().message(error))) << message;
#endif
    }
    EXPECT_TRUE(wad == before);
}

// The shuffled form works five pixels at a time with 16-byte loads and stores: every count
// must give the byte-by-byte result and touch no byte past the last pixel.
TEST(PixelSwap, FastFormMatchesTheByteByByteFormForEveryCount) {
    for (std::size_t pixels = 0; pixels <= 70; ++pixels) {
        std::vector<std::uint8_t> from(pixels * 3);
        for (std::size_t i = 0; i < from.size(); ++i) {
            from[i] = static_cast<std::uint8_t>(i * 7 + pixels);
        }
        std::vector<std::uint8_t> fast(pixels * 3 + 16, 0xA5), plain = fast;
        CopySwappingRedBlue(fast.data(), from.data(), pixels);
        CopySwappingRedBluePortable(plain.data(), from.data(), pixels);
        ASSERT_EQ(fast, plain) << pixels;
        ASSERT_EQ(plain.back(), 0xA5) << pixels;
    }
}
