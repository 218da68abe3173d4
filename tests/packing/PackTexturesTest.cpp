#include "packing/PackTextures.h"
#include "formats/SwdFile.h"
#include "packing/TexturePacker.h"
#include "support/Fixtures.h"
#include "support/ReferencePacker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <vector>

namespace {

using Size = std::pair<int, int>;

SpriteWad WadOf(const std::vector<Size>& sizes) {
    SpriteWad wad;
    std::uint32_t seed = 1;
    for (const Size& s : sizes) {
        wad.m_textures.push_back(fixtures::MakeTexture(s.first, s.second, seed++));
    }
    return wad;
}

// Each texture's progress is told once, and each page it is drawn on once drawn. The flag is
// cleared after texture `stopAt`'s progress, or when page `stopOnPage` is drawn: a cancel keeps
// what was placed and opens no more pages.
TEST(PackTextures, ProgressAndPagesAreToldAndCancellingKeepsWhatWasPlaced) {
    const struct {
        std::vector<Size> sizes;
        int flag, stopOnPage;
        std::size_t stopAt, pages;
        std::vector<std::size_t> progress;
        std::vector<int> changed;
    } cases[] = {
        // clang-format off
        {{{256, 256}, {10, 10}, {246, 10}, {20, 20}, {256, 256}, {5, 5}}, 1, -1, 99, 3,
         {0, 1, 2, 3, 4, 5}, {0, 1, 1, 1, 2, 1}},
        {{{256, 256}, {100, 100}, {100, 100}, {1, 1}}, 1, -1, 1, 2, {0, 1}, {0, 1}},
        {{{256, 256}, {256, 256}, {256, 256}, {256, 256}}, 1, 2, 99, 3, {0, 1, 2}, {0, 1, 2}},
        {{{4, 4}, {5, 5}}, 0, -1, 99, 0, {}, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sizes.size());
        SpriteWad wad = WadOf(c.sizes);
        std::atomic<int> running{c.flag};
        std::vector<std::size_t> progress;
        std::vector<int> changed;
        PackCallbacks callbacks;
        callbacks.running = &running;
        callbacks.progress = [&](std::size_t i, std::size_t n) {
            EXPECT_EQ(n, c.sizes.size());
            progress.push_back(i);
            running = running && i != c.stopAt;
        };
        callbacks.pageChanged = [&](int page) {
            EXPECT_LT(static_cast<std::size_t>(page), wad.m_pages.size()) << "told before drawn";
            changed.push_back(page);
            running = running && page != c.stopOnPage;
        };
        const bool finished = c.progress.size() == c.sizes.size() && c.stopOnPage < 0;
        EXPECT_EQ(PackTextures(wad, callbacks).fault(), finished ? Fault::None : Fault::Cancelled);
        EXPECT_EQ(progress, c.progress);
        EXPECT_EQ(changed, c.changed);
        EXPECT_EQ(std::pair(wad.m_entries.size(), wad.m_pages.size()),
                  std::pair(c.progress.size(), c.pages));
    }
}

TEST(PackTextures, BadTexturesFailBeforeAnythingIsPackedAndKeepTheOldPages) {
    const std::pair<SpriteTexture, std::string> cases[] = {
        {SpriteTexture{}, "Null Bitmap: texture 3 has no pixels"},
        {fixtures::MakeTexture(300, 20, 5), "Texture 3 is 300 x 20, larger than a 256 x 256 page"},
        {fixtures::MakeTexture(1, 257, 5), "Texture 3 is 1 x 257, larger than a 256 x 256 page"},
    };
    for (const auto& [bad, message] : cases) {
        SpriteWad wad = WadOf({{256, 256}, {256, 256}});
        ASSERT_TRUE(PackTextures(wad).ok());
        const SpriteWad before = wad;
        wad.m_textures.insert(wad.m_textures.end(), {fixtures::MakeTexture(9, 9, 3), bad});
        int reports = 0;
        PackCallbacks callbacks;
        callbacks.progress = [&](std::size_t, std::size_t) { ++reports; };
        callbacks.pageChanged = [&](int) { ++reports; };
        const Status result = PackTextures(wad, callbacks);
        EXPECT_EQ(std::pair(result.fault(), result.message()), std::pair(Fault::Refused, message));
        EXPECT_EQ(reports, 0) << "nothing may be packed before the failure";
        EXPECT_TRUE(wad.m_pages == before.m_pages && wad.m_entries == before.m_entries);
    }
}

// 65 536 is also the most entries a first index and a count can reach: the full page is
// written and reads back, while one entry more is refused by the writer before the file is
// touched.
TEST(PackTextures, SixtyFiveThousandFiveHundredThirtySixPixelsFillOnePageAndSaveAndOneMoreFails) {
    SpriteWad wad;
    wad.m_textures.assign(65536, fixtures::MakeTexture(1, 1, 1));
    ASSERT_TRUE(PackTextures(wad).ok());
    ASSERT_EQ(wad.m_pages.size(), 1u);
    ASSERT_EQ(wad.m_entries.size(), 65536u);
    for (int i = 0; i < 65536; ++i) {
        ASSERT_EQ(wad.m_entries[i], SpriteEntry::At(i % 256, i / 256, 0, 1, 1)) << i;
    }
    fixtures::TempDir dir;
    const std::string path = (dir / "full.swd").string();
    wad.m_sequences = {{463, -32768, 0}, {464, -32768, 32768}};
    ASSERT_TRUE(swd::WriteSwdFile(path, wad).ok());
    SpriteWad back;
    ASSERT_TRUE(swd::ReadSwdFile(path, back).ok());
    EXPECT_TRUE(back.m_sequences == wad.m_sequences && back.m_textures == wad.m_textures);

    wad.m_textures.push_back(fixtures::MakeTexture(1, 1, 2));
    const Status result = PackTextures(wad);
    EXPECT_EQ(std::pair(result.fault(), wad.m_pages.size()),
              std::pair(Fault::Refused, std::size_t{1}));
    EXPECT_EQ(result.message(),
              "There are 65537 textures, more than the 65536 a sprite wad can hold");
    const auto bytes = fixtures::ReadFileBytes(path);
    wad.m_entries.push_back(SpriteEntry::At(0, 0, 1, 1, 1));
    wad.m_pages.push_back(fixtures::MakeTexture(256, 256, 6));
    EXPECT_EQ(swd::WriteSwdFile(path, wad).fault(), Fault::WriteFailed);
    EXPECT_TRUE(fixtures::ReadFileBytes(path) == bytes);
    wad.m_textures.clear();
    EXPECT_TRUE(PackTextures(wad).ok());
    EXPECT_TRUE(wad.m_pages.empty() && wad.m_entries.empty()) << "no textures, no page";
}

TEST(TexturePacker, RefusesMissingPagesAndTexturesThatCannotGoOnAPage) {
    SpriteWad wad;
    TexturePacker packer(wad);
    const SpriteTexture fine = fixtures::MakeTexture(8, 8, 1);
    EXPECT_FALSE(packer.PlaceTexture(fine, 0)) << "there is no page 0 yet";
    EXPECT_EQ(packer.AddPage(), 0);
    EXPECT_FALSE(packer.PlaceTexture(fine, 1) || packer.PlaceTexture(fine, -1) ||
                 packer.PlaceTexture(SpriteTexture{}, 0) ||
                 packer.PlaceTexture(fixtures::MakeTexture(257, 1, 2), 0));
    TexturePage black;
    black.Create(256, 256);
    EXPECT_TRUE(wad.m_entries.empty() && wad.m_pages == std::vector<TexturePage>{black});
    EXPECT_TRUE(packer.PlaceTexture(fine, 0));
}

// Sides around the powers of two and the page edge; stale pages and entries to start from.
TEST(PackVersusReference, EdgeSizedSetsGiveTheSamePagesEntriesAndPixels) {
    const int edge[] = {1, 2, 63, 64, 65, 127, 128, 129, 255, 256};
    for (std::uint32_t seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed * 7919u);
        const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n)(rng); };
        SpriteWad wad;
        wad.m_pages.resize(2);
        wad.m_entries.resize(5);
        for (int i = 0, count = 1 + pick(59); i < count; ++i) {
            wad.m_textures.push_back(fixtures::MakeTexture(edge[pick(9)], edge[pick(9)],
                                                           static_cast<std::uint32_t>(rng())));
        }
        const std::vector<SpriteTexture> before = wad.m_textures;
        const fixtures::ReferencePacking expected = fixtures::ReferencePack(wad.m_textures);
        ASSERT_TRUE(PackTextures(wad).ok());
        ASSERT_EQ(wad.m_entries, expected.entries);
        ASSERT_TRUE(wad.m_pages == expected.pages) << "pages differ";
        ASSERT_TRUE(wad.m_textures == before) << "packing changed a texture";
    }
}

} // namespace
