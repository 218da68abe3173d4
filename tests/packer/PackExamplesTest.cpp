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

TEST(PackExamples, PlacementsAndPageCounts) {
    const struct {
        const char* name;
        std::vector<Size> sizes;
        std::vector<Spot> spots;
        std::size_t pages;
    } examples[] = {
        {"full page sends the next texture to a new page",
         {{256, 256}, {3, 5}},
         {{0, 0, 0}, {1, 0, 0}},
         2},
        {"too wide for the row goes below, a smaller one fills the gap",
         {{200, 10}, {100, 10}, {50, 10}},
         {{0, 0, 0}, {0, 0, 10}, {0, 200, 0}},
         1},
        {"bottom strip takes what fits, a taller one opens a page",
         {{256, 250}, {10, 6}, {11, 6}, {10, 7}},
         {{0, 0, 0}, {0, 0, 250}, {0, 10, 250}, {1, 0, 0}},
         2},
        {"two full pages then one pixel",
         {{256, 256}, {256, 256}, {1, 1}},
         {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}},
         3},
        // 200 x 256 leaves a 56-wide strip on page 0 that the last one fits again.
        {"late small texture goes back to a gap on page 0",
         {{200, 256}, {100, 256}, {100, 256}, {100, 256}, {56, 30}},
         {{0, 0, 0}, {1, 0, 0}, {1, 100, 0}, {2, 0, 0}, {0, 200, 0}},
         3},
        // The 1 x 256 one cannot pass row 0; the 255 x 254 one fills page 0 exactly.
        {"sides of one and of a full page",
         {{256, 1}, {1, 255}, {255, 1}, {1, 256}, {255, 254}, {1, 1}},
         {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 0}, {0, 1, 2}, {1, 1, 0}},
         2},
    };
    for (const auto& example : examples) {
        SCOPED_TRACE(example.name);
        SpriteWad wad = WadOf(example.sizes);
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        EXPECT_EQ(Spots(wad), example.spots);
        EXPECT_EQ(wad.m_pages.size(), example.pages);
    }
}

TEST(PackResultTest, EntriesDescribeTheTexturesOnBlackPagesWithZeroReservedFields) {
    SpriteWad wad = WadOf({{17, 3}, {256, 1}, {1, 256}, {64, 64}, {30, 20}});
    wad.m_pages.resize(3); // a pack starts from nothing
    wad.m_entries.resize(7);
    const std::vector<SpriteTexture> before = wad.m_textures;
    ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
    EXPECT_EQ(wad.m_textures, before);
    ASSERT_EQ(wad.m_entries.size(), before.size());
    ASSERT_EQ(wad.m_pages.size(), 2u); // the 1 x 256 one cannot pass the 256 x 1 one
    std::vector<TexturePage> expected(2);
    for (TexturePage& page : expected) {
        page.Create(256, 256);
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        const SpriteEntry& e = wad.m_entries[i];
        EXPECT_EQ(e.Width(), before[i].GetWidth()) << i;
        EXPECT_EQ(e.Height(), before[i].GetHeight()) << i;
        EXPECT_EQ(e, SpriteEntry::At(e.x, e.y, e.page, e.Width(), e.Height())) << "reserved " << i;
        expected[e.page].Combine(before[i], e.x, e.y);
    }
    EXPECT_EQ(wad.m_pages, expected) << "textures where their entries say, black elsewhere";

    wad.m_textures.clear();
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

// Cancelling keeps what was placed; `stopAt` clears the flag after that texture's progress,
// `stopOnPage` when that page is drawn.
struct CancelRun {
    PackStatus status;
    std::vector<std::size_t> progress;
};
CancelRun PackCancelling(SpriteWad& wad, int flag, std::size_t stopAt, int stopOnPage) {
    std::atomic<int> running{flag};
    CancelRun run;
    PackCallbacks callbacks;
    callbacks.running = &running;
    callbacks.progress = [&](std::size_t i, std::size_t) {
        run.progress.push_back(i);
        if (i == stopAt) {
            running = 0;
        }
    };
    callbacks.pageChanged = [&](int page) {
        if (page == stopOnPage) {
            running = 0;
        }
    };
    run.status = PackTextures(wad, callbacks).status;
    return run;
}

TEST(PackCancelTest, ClearedFlagStopsAfterTheCurrentTexturesProgress) {
    SpriteWad wad = WadOf({{256, 256}, {100, 100}, {100, 100}, {200, 200}, {1, 1}});
    const CancelRun run = PackCancelling(wad, 1, 1, -1);
    EXPECT_EQ(run.status, PackStatus::Cancelled);
    EXPECT_EQ(run.progress, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(Spots(wad), (std::vector<Spot>{{0, 0, 0}, {1, 0, 0}}));
    EXPECT_EQ(wad.m_pages.size(), 2u);

    // Cleared while texture 2 opens page 2: its progress still shows, and texture 3, which
    // would open page 3, makes no attempt.
    wad = WadOf({{256, 256}, {256, 256}, {256, 256}, {256, 256}});
    const CancelRun onPage = PackCancelling(wad, 1, 99, 2);
    EXPECT_EQ(onPage.status, PackStatus::Cancelled);
    EXPECT_EQ(onPage.progress, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(wad.m_entries.size(), 3u);
    EXPECT_EQ(wad.m_pages.size(), 3u) << "no page may be opened after the cancel";

    wad = WadOf({{4, 4}, {5, 5}});
    const CancelRun never = PackCancelling(wad, 0, 99, -1);
    EXPECT_EQ(never.status, PackStatus::Cancelled);
    EXPECT_TRUE(never.progress.empty());
    EXPECT_TRUE(wad.m_entries.empty());
    EXPECT_TRUE(wad.m_pages.empty());
}

TEST(PackFailureTest, BadTexturesFailBeforeAnythingIsPackedAndKeepTheOldPages) {
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

    SpriteWad tooMany;
    tooMany.m_textures.assign(65537, fixtures::MakeTexture(1, 1, 1));
    const PackResult result = PackTextures(tooMany);
    EXPECT_EQ(result.status, PackStatus::Failed);
    EXPECT_NE(result.message.find("65537"), std::string::npos) << result.message;
    EXPECT_TRUE(tooMany.m_pages.empty());
}

} // namespace
