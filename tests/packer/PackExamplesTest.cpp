#include "model/PackTextures.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
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

struct Spot {
    int page, x, y;
    friend bool operator==(const Spot&, const Spot&) = default;
};

std::vector<Spot> Spots(const SpriteWad& wad) {
    std::vector<Spot> spots;
    for (const SpriteEntry& e : wad.m_entries) {
        spots.push_back({e.page, e.x, e.y});
    }
    return spots;
}

std::vector<Spot> Pack(const std::vector<Size>& sizes, std::size_t* pages = nullptr) {
    SpriteWad wad = WadOf(sizes);
    const PackResult result = PackTextures(wad);
    EXPECT_EQ(result.status, PackStatus::Done) << result.message;
    if (pages != nullptr) {
        *pages = wad.m_pages.size();
    }
    return Spots(wad);
}

TEST(PackExamples, FullPageSendsTheNextTextureToANewPage) {
    std::size_t pages = 0;
    EXPECT_EQ(Pack({{256, 256}, {3, 5}}, &pages), (std::vector<Spot>{{0, 0, 0}, {1, 0, 0}}));
    EXPECT_EQ(pages, 2u);
}

TEST(PackExamples, TooWideForTheRowGoesBelowAndASmallerOneFillsTheGap) {
    EXPECT_EQ(Pack({{200, 10}, {100, 10}, {50, 10}}),
              (std::vector<Spot>{{0, 0, 0}, {0, 0, 10}, {0, 200, 0}}));
}

TEST(PackExamples, BottomStripTakesWhatFitsAndATallerOneOpensAPage) {
    std::size_t pages = 0;
    EXPECT_EQ(Pack({{256, 250}, {10, 6}, {11, 6}, {10, 7}}, &pages),
              (std::vector<Spot>{{0, 0, 0}, {0, 0, 250}, {0, 10, 250}, {1, 0, 0}}));
    EXPECT_EQ(pages, 2u);
}

TEST(PackExamples, TwoFullPagesThenOnePixel) {
    std::size_t pages = 0;
    EXPECT_EQ(Pack({{256, 256}, {256, 256}, {1, 1}}, &pages),
              (std::vector<Spot>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(pages, 3u);
}

TEST(PackExamples, LateSmallTextureGoesBackToAGapOnPageZero) {
    // 200 x 256 leaves a 56-wide strip on page 0; the 100-wide ones open pages 1 and 2;
    // the last one fits the strip again.
    std::size_t pages = 0;
    EXPECT_EQ(Pack({{200, 256}, {100, 256}, {100, 256}, {100, 256}, {56, 30}}, &pages),
              (std::vector<Spot>{{0, 0, 0}, {1, 0, 0}, {1, 100, 0}, {2, 0, 0}, {0, 200, 0}}));
    EXPECT_EQ(pages, 3u);
}

TEST(PackExamples, SidesOfOneAndOfAFullPage) {
    // The 1 x 256 one cannot pass row 0; the 255 x 254 one fills page 0 exactly, so the last
    // pixel goes to page 1 beside the 1 x 256 one.
    EXPECT_EQ(
        Pack({{256, 1}, {1, 255}, {255, 1}, {1, 256}, {255, 254}, {1, 1}}),
        (std::vector<Spot>{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 0}, {0, 1, 2}, {1, 1, 0}}));
}

TEST(PackResultTest, EntriesDescribeTheTexturesAndReservedFieldsAreZero) {
    SpriteWad wad = WadOf({{17, 3}, {256, 1}, {1, 256}, {64, 64}});
    ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
    ASSERT_EQ(wad.m_entries.size(), wad.m_textures.size());
    for (std::size_t i = 0; i < wad.m_entries.size(); ++i) {
        const SpriteEntry& e = wad.m_entries[i];
        EXPECT_EQ(e.Width(), wad.m_textures[i].GetWidth()) << i;
        EXPECT_EQ(e.Height(), wad.m_textures[i].GetHeight()) << i;
        EXPECT_EQ(e.reserved4, 0);
        EXPECT_EQ(e.reserved6, 0);
        EXPECT_EQ(e.reserved8, 0u);
        EXPECT_EQ(e.reserved12, 0u);
        SpriteTexture cut;
        ASSERT_TRUE(cut.Copy(wad.m_pages.at(e.page), e.x, e.y, e.Width(), e.Height()));
        EXPECT_EQ(cut, wad.m_textures[i]) << "texture " << i << " not found where its entry says";
    }
}

TEST(PackResultTest, UncoveredPixelsAreBlackAndTexturesUnchanged) {
    SpriteWad wad = WadOf({{30, 20}, {256, 100}, {7, 9}});
    const std::vector<SpriteTexture> before = wad.m_textures;
    ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
    EXPECT_EQ(wad.m_textures, before);
    ASSERT_EQ(wad.m_pages.size(), 1u);
    TexturePage expected;
    expected.Create(256, 256);
    for (std::size_t i = 0; i < before.size(); ++i) {
        expected.Combine(before[i], wad.m_entries[i].x, wad.m_entries[i].y);
    }
    EXPECT_EQ(wad.m_pages[0], expected);
    // Rows 120..255 hold no texture at all.
    const TexturePage& page = wad.m_pages[0];
    EXPECT_TRUE(std::all_of(page.GetBits() + 120 * page.GetRowSize(),
                            page.GetBits() + page.GetImageSize(),
                            [](std::uint8_t b) { return b == 0; }));
}

TEST(PackResultTest, EveryPackStartsFromNothing) {
    SpriteWad wad = WadOf({{100, 100}, {200, 200}});
    ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
    const auto firstEntries = wad.m_entries;
    const auto firstPages = wad.m_pages;
    ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
    EXPECT_EQ(wad.m_entries, firstEntries);
    EXPECT_EQ(wad.m_pages, firstPages);

    wad.m_textures.pop_back();
    ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
    EXPECT_EQ(wad.m_entries.size(), 1u);
    EXPECT_EQ(wad.m_pages.size(), 1u);
}

TEST(PackResultTest, NoTexturesMakesNoPages) {
    SpriteWad wad;
    wad.m_pages.resize(2);
    wad.m_entries.resize(3);
    EXPECT_EQ(PackTextures(wad).status, PackStatus::Done);
    EXPECT_TRUE(wad.m_pages.empty());
    EXPECT_TRUE(wad.m_entries.empty());
}

TEST(PackCallbacksTest, ProgressOncePerTextureAndPageChangedForTheRightPage) {
    SpriteWad wad = WadOf({{256, 256}, {10, 10}, {246, 10}, {20, 20}, {256, 256}, {5, 5}});
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    std::vector<int> changed;
    std::atomic<int> running{1};
    PackCallbacks callbacks;
    callbacks.running = &running;
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

TEST(PackCancelTest, ClearedFlagStopsAfterTheCurrentTexturesProgress) {
    SpriteWad wad = WadOf({{256, 256}, {100, 100}, {100, 100}, {200, 200}, {1, 1}});
    std::atomic<int> running{1};
    std::vector<std::size_t> progress;
    PackCallbacks callbacks;
    callbacks.running = &running;
    callbacks.progress = [&](std::size_t i, std::size_t) {
        progress.push_back(i);
        if (i == 1) {
            running = 0;
        }
    };
    const PackResult result = PackTextures(wad, callbacks);
    EXPECT_EQ(result.status, PackStatus::Cancelled);
    EXPECT_EQ(progress, (std::vector<std::size_t>{0, 1}));
    // What was placed stays.
    EXPECT_EQ(Spots(wad), (std::vector<Spot>{{0, 0, 0}, {1, 0, 0}}));
    EXPECT_EQ(wad.m_pages.size(), 2u);
}

TEST(PackCancelTest, ClearedWhenAPageIsDrawnOpensNoFurtherPage) {
    // The flag goes down while texture 2 is being placed: its progress is still reported,
    // and texture 3, which would open page 3, makes no attempt.
    SpriteWad wad = WadOf({{256, 256}, {256, 256}, {256, 256}, {256, 256}});
    std::atomic<int> running{1};
    std::vector<std::size_t> progress;
    PackCallbacks callbacks;
    callbacks.running = &running;
    callbacks.progress = [&](std::size_t i, std::size_t) { progress.push_back(i); };
    callbacks.pageChanged = [&](int page) {
        if (page == 2) {
            running = 0;
        }
    };
    EXPECT_EQ(PackTextures(wad, callbacks).status, PackStatus::Cancelled);
    EXPECT_EQ(progress, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(wad.m_entries.size(), 3u);
    EXPECT_EQ(wad.m_pages.size(), 3u) << "no page may be opened after the cancel";
}

TEST(PackCancelTest, FlagDownFromTheStartPlacesNothing) {
    SpriteWad wad = WadOf({{4, 4}, {5, 5}});
    std::atomic<int> running{0};
    int reports = 0;
    PackCallbacks callbacks;
    callbacks.running = &running;
    callbacks.progress = [&](std::size_t, std::size_t) { ++reports; };
    EXPECT_EQ(PackTextures(wad, callbacks).status, PackStatus::Cancelled);
    EXPECT_EQ(reports, 0);
    EXPECT_TRUE(wad.m_entries.empty());
    EXPECT_TRUE(wad.m_pages.empty());
}

class PackFailureTest : public ::testing::Test {
protected:
    void ExpectFailure(SpriteTexture bad, const std::string& message) {
        SpriteWad wad = WadOf({{256, 256}, {256, 256}});
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        const auto pagesBefore = wad.m_pages;
        const auto entriesBefore = wad.m_entries;
        wad.m_textures.push_back(fixtures::MakeTexture(9, 9, 3));
        wad.m_textures.push_back(std::move(bad));
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
};

TEST_F(PackFailureTest, TextureWithoutPixels) {
    ExpectFailure(SpriteTexture{}, "Null Bitmap: texture 3 has no pixels");
}

TEST_F(PackFailureTest, TextureWiderThanAPage) {
    ExpectFailure(fixtures::MakeTexture(300, 20, 5),
                  "Texture 3 is 300 x 20, larger than a 256 x 256 page");
}

TEST_F(PackFailureTest, TextureTallerThanAPage) {
    ExpectFailure(fixtures::MakeTexture(1, 257, 5),
                  "Texture 3 is 1 x 257, larger than a 256 x 256 page");
}

TEST(PackLimitsTest, MoreTexturesThanEntriesCanNamePagesFor) {
    SpriteWad wad;
    wad.m_textures.assign(65537, fixtures::MakeTexture(1, 1, 1));
    const PackResult result = PackTextures(wad);
    EXPECT_EQ(result.status, PackStatus::Failed);
    EXPECT_NE(result.message.find("65537"), std::string::npos) << result.message;
    EXPECT_TRUE(wad.m_pages.empty());
}

} // namespace
