#include "model/PackTextures.h"
#include "model/TexturePacker.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Size {
    int w, h;
};

SpriteWad WadOf(const std::vector<Size>& sizes) {
    SpriteWad wad;
    std::uint32_t seed = 1;
    for (const Size& s : sizes) {
        wad.m_textures.push_back(fixtures::MakeTexture(s.w, s.h, seed++));
    }
    return wad;
}

TEST(PackTextures, ProgressOncePerTextureAndPageChangedForTheRightPage) {
    SpriteWad wad = WadOf({{256, 256}, {10, 10}, {246, 10}, {20, 20}, {256, 256}, {5, 5}});
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    std::vector<int> changed;
    PackCallbacks callbacks;
    callbacks.progress = [&](std::size_t i, std::size_t n) { progress.emplace_back(i, n); };
    callbacks.pageChanged = [&](int page) {
        // The page is already drawn when we are told.
        EXPECT_LT(static_cast<std::size_t>(page), wad.m_pages.size());
        changed.push_back(page);
    };
    ASSERT_EQ(PackTextures(wad, callbacks).status, PackStatus::Done);
    const std::vector<std::pair<std::size_t, std::size_t>> expectedProgress = {
        {0, 6}, {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}};
    EXPECT_EQ(progress, expectedProgress);
    EXPECT_EQ(changed, (std::vector<int>{0, 1, 1, 1, 2, 1}));
}

// The flag is cleared after texture `stopAt`'s progress, or when page `stopOnPage` is drawn.
TEST(PackTextures, CancellingKeepsWhatWasPlacedAndOpensNoMorePages) {
    const struct {
        const char* name;
        std::vector<Size> sizes;
        int flag;
        std::size_t stopAt;
        int stopOnPage;
        std::vector<std::size_t> progress;
        std::size_t pages;
    } cases[] = {
        {"after a texture", {{256, 256}, {100, 100}, {100, 100}, {1, 1}}, 1, 1, -1, {0, 1}, 2},
        {"while a texture opens a page",
         {{256, 256}, {256, 256}, {256, 256}, {256, 256}},
         1,
         99,
         2,
         {0, 1, 2},
         3},
        {"before the first texture", {{4, 4}, {5, 5}}, 0, 99, -1, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpriteWad wad = WadOf(c.sizes);
        std::atomic<int> running{c.flag};
        std::vector<std::size_t> progress;
        PackCallbacks callbacks;
        callbacks.running = &running;
        callbacks.progress = [&](std::size_t i, std::size_t) {
            progress.push_back(i);
            if (i == c.stopAt) {
                running = 0;
            }
        };
        callbacks.pageChanged = [&](int page) {
            if (page == c.stopOnPage) {
                running = 0;
            }
        };
        EXPECT_EQ(PackTextures(wad, callbacks).status, PackStatus::Cancelled);
        EXPECT_EQ(progress, c.progress);
        EXPECT_EQ(wad.m_entries.size(), c.progress.size());
        EXPECT_EQ(wad.m_pages.size(), c.pages);
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
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        const auto pagesBefore = wad.m_pages;
        const auto entriesBefore = wad.m_entries;
        wad.m_textures.push_back(fixtures::MakeTexture(9, 9, 3));
        wad.m_textures.push_back(bad);
        int reports = 0;
        PackCallbacks callbacks;
        callbacks.progress = [&](std::size_t, std::size_t) { ++reports; };
        callbacks.pageChanged = [&](int) { ++reports; };
        const PackResult result = PackTextures(wad, callbacks);
        EXPECT_EQ(result.status, PackStatus::Failed);
        EXPECT_EQ(result.message, message);
        EXPECT_EQ(reports, 0) << "nothing may be packed before the failure";
        EXPECT_EQ(wad.m_pages, pagesBefore);
        EXPECT_EQ(wad.m_entries, entriesBefore);
    }
}

// 65 536 pixels fill one page exactly, and that many entries is all a wad can name.
TEST(PackTextures, SixtyFiveThousandFiveHundredThirtySixPixelsFillOnePageAndOneMoreFails) {
    SpriteWad wad;
    wad.m_textures.assign(65536, fixtures::MakeTexture(1, 1, 1));
    ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
    ASSERT_EQ(wad.m_pages.size(), 1u);
    ASSERT_EQ(wad.m_entries.size(), 65536u);
    for (int i = 0; i < 65536; ++i) {
        ASSERT_EQ(wad.m_entries[i], SpriteEntry::At(i % 256, i / 256, 0, 1, 1)) << i;
    }

    wad.m_textures.push_back(fixtures::MakeTexture(1, 1, 2));
    const PackResult result = PackTextures(wad);
    EXPECT_EQ(result.status, PackStatus::Failed);
    EXPECT_NE(result.message.find("65537"), std::string::npos) << result.message;
    EXPECT_EQ(wad.m_pages.size(), 1u);

    wad.m_textures.clear();
    EXPECT_EQ(PackTextures(wad).status, PackStatus::Done);
    EXPECT_TRUE(wad.m_pages.empty()) << "no textures, no page";
    EXPECT_TRUE(wad.m_entries.empty());
}

TEST(TexturePacker, RefusesMissingPagesAndTexturesThatCannotGoOnAPage) {
    SpriteWad wad;
    TexturePacker packer(wad);
    const SpriteTexture fine = fixtures::MakeTexture(8, 8, 1);
    EXPECT_FALSE(packer.PlaceTexture(fine, 0)) << "there is no page 0 yet";
    EXPECT_EQ(packer.AddPage(), 0);
    EXPECT_FALSE(packer.PlaceTexture(fine, 1));
    EXPECT_FALSE(packer.PlaceTexture(fine, -1));
    EXPECT_FALSE(packer.PlaceTexture(SpriteTexture{}, 0));
    EXPECT_FALSE(packer.PlaceTexture(fixtures::MakeTexture(257, 1, 2), 0));
    EXPECT_TRUE(wad.m_entries.empty());
    TexturePage black;
    black.Create(256, 256);
    EXPECT_EQ(wad.m_pages, std::vector<TexturePage>{black});
    EXPECT_TRUE(packer.PlaceTexture(fine, 0));
}

} // namespace
