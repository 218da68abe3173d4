#include "model/SpriteWad.h"
#include "model/ObjectSlotNames.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Each texture carries its identity in its width and height, so a test can see which
// texture sits where after the runs have been reshuffled.
SpriteTexture Tagged(int id) {
    SpriteTexture t;
    t.Create(1 + id % 200, 1 + id / 200);
    return t;
}
int TagOf(const SpriteTexture& t) {
    return (t.GetHeight() - 1) * 200 + (t.GetWidth() - 1);
}

ObjectSequence Seq(std::uint32_t slot, int count, std::uint16_t first) {
    ObjectSequence s;
    s.slotId = slot;
    s.SetTextureCount(count);
    s.firstTexture = first;
    return s;
}

// Two objects whose runs lie in the opposite order of the objects: 463 owns 0..2, 460 owns 3..4.
SpriteWad TwoObjects() {
    SpriteWad wad;
    for (int i = 0; i < 5; ++i) {
        wad.m_textures.push_back(Tagged(i));
    }
    wad.m_sequences = {Seq(460, 2, 3), Seq(463, 3, 0)};
    return wad;
}

std::vector<int> RunTags(const SpriteWad& wad, std::size_t object) {
    std::vector<int> tags;
    for (int k = 0; k < wad.m_sequences[object].TextureCount(); ++k) {
        tags.push_back(TagOf(wad.ObjectTexture(object, k)));
    }
    return tags;
}

} // namespace

TEST(SpriteWadRuns, AddingBeforeAnotherRunMovesItAndEmptyObjectsAtTheSameStart) {
    SpriteWad wad = TwoObjects();
    wad.m_sequences.push_back(Seq(494, 0, 3)); // empty, marks the start of 460's run
    ASSERT_TRUE(wad.AddTexture(1, Tagged(99)));
    EXPECT_EQ(RunTags(wad, 1), (std::vector<int>{0, 1, 2, 99}));
    EXPECT_EQ(wad.m_sequences[0].firstTexture, 4);
    EXPECT_EQ(RunTags(wad, 0), (std::vector<int>{3, 4}));
    EXPECT_EQ(wad.m_sequences[2].firstTexture, 4);
    EXPECT_TRUE(wad.RunsAreValid());
}

TEST(SpriteWadRuns, AnEmptyObjectAtTheStartOfAGrowingRunMovesBehindIt) {
    SpriteWad wad = TwoObjects();
    wad.m_sequences.push_back(Seq(470, 0, 0)); // marks the start of 463's run
    ASSERT_TRUE(wad.AddTexture(1, Tagged(60)));
    EXPECT_EQ(wad.m_sequences[2].firstTexture, 4);
    ASSERT_TRUE(wad.AddTexture(2, Tagged(61)));
    EXPECT_EQ(RunTags(wad, 1), (std::vector<int>{0, 1, 2, 60}));
    EXPECT_EQ(RunTags(wad, 2), (std::vector<int>{61}));
    EXPECT_EQ(RunTags(wad, 0), (std::vector<int>{3, 4}));
    EXPECT_TRUE(wad.RunsAreValid());
}

TEST(SpriteWadRuns, AddingToAnEmptyObjectSharingAStartPutsItsRunFirst) {
    SpriteWad wad = TwoObjects();
    wad.m_sequences.insert(wad.m_sequences.begin(), Seq(470, 0, 0));
    ASSERT_TRUE(wad.AddTexture(0, Tagged(50)));
    EXPECT_EQ(RunTags(wad, 0), (std::vector<int>{50}));
    EXPECT_EQ(RunTags(wad, 1), (std::vector<int>{3, 4}));
    EXPECT_EQ(RunTags(wad, 2), (std::vector<int>{0, 1, 2}));
}

TEST(SpriteWadRuns, InsertingMovesPixelsInsteadOfCopyingThem) {
    SpriteWad wad = TwoObjects();
    std::vector<const std::uint8_t*> before;
    for (const SpriteTexture& t : wad.m_textures) {
        before.push_back(t.GetBits());
    }
    ASSERT_TRUE(wad.AddTexture(1, Tagged(42)));
    EXPECT_EQ(wad.m_textures[0].GetBits(), before[0]);
    EXPECT_EQ(wad.m_textures[4].GetBits(), before[3]);
    EXPECT_EQ(wad.m_textures[5].GetBits(), before[4]);
}

TEST(SpriteWadRuns, RemovingTexturesKeepsEmptyObjectAndItsStart) {
    SpriteWad wad = TwoObjects();
    wad.RemoveTexture(0, 0);
    EXPECT_EQ(RunTags(wad, 0), (std::vector<int>{4}));
    wad.RemoveTexture(0, 0);
    EXPECT_EQ(wad.m_sequences[0].negCount, 0);
    EXPECT_EQ(wad.m_sequences[0].firstTexture, 3);
    EXPECT_EQ(RunTags(wad, 1), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(wad.TextureCount(), 3u);
}

TEST(SpriteWadRuns, RemovingHandsTheTextureBackAndLeavesAnEmptyObjectAtTheSameStart) {
    SpriteWad wad = TwoObjects();
    wad.m_sequences.push_back(Seq(494, 0, 3)); // empty, at 460's first index
    wad.m_sequences.push_back(Seq(470, 0, 5)); // empty, at the end
    const std::optional<SpriteTexture> removed = wad.RemoveTexture(0, 1);
    ASSERT_TRUE(removed.has_value());
    EXPECT_EQ(TagOf(*removed), 4);
    EXPECT_EQ(RunTags(wad, 0), (std::vector<int>{3}));
    EXPECT_EQ(wad.m_sequences[2].firstTexture, 3) << "strictly greater first indices move";
    EXPECT_EQ(wad.m_sequences[3].firstTexture, 4);
    EXPECT_TRUE(wad.RunsAreValid());

    const SpriteWad before = wad;
    for (const auto& [object, line] : {std::pair{0, 1}, std::pair{0, -1}, std::pair{2, 0}}) {
        EXPECT_FALSE(wad.RemoveTexture(static_cast<std::size_t>(object), line).has_value());
        EXPECT_FALSE(
            wad.ReplaceTexture(static_cast<std::size_t>(object), line, Tagged(7)).has_value());
    }
    EXPECT_EQ(wad.m_sequences, before.m_sequences);
    EXPECT_TRUE(wad.m_textures == before.m_textures);
}

TEST(SpriteWadRuns, ReplacingKeepsCountsAndStartsAndHandsTheOldTextureBack) {
    SpriteWad wad = TwoObjects();
    const auto sequences = wad.m_sequences;
    const std::optional<SpriteTexture> old = wad.ReplaceTexture(1, 2, Tagged(77));
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(TagOf(*old), 2);
    EXPECT_EQ(RunTags(wad, 1), (std::vector<int>{0, 1, 77}));
    EXPECT_EQ(RunTags(wad, 0), (std::vector<int>{3, 4}));
    EXPECT_EQ(wad.m_sequences, sequences);
}

TEST(SpriteWadRuns, PositiveCountsBehaveLikeNegatedOnes) {
    SpriteWad wad = TwoObjects();
    wad.m_sequences[1].negCount = 3;
    EXPECT_EQ(wad.m_sequences[1].TextureCount(), 3);
    ASSERT_TRUE(wad.AddTexture(1, Tagged(9)));
    EXPECT_EQ(wad.m_sequences[1].negCount, -4);
    EXPECT_EQ(wad.m_sequences[0].firstTexture, 4);
}

TEST(SpriteWadRuns, RepeatedSlotNumbersStillKeepRunsApart) {
    SpriteWad wad;
    wad.m_sequences = {Seq(464, 0, 0), Seq(464, 0, 0)};
    ASSERT_TRUE(wad.AddTexture(0, Tagged(1)));
    ASSERT_TRUE(wad.AddTexture(1, Tagged(2)));
    EXPECT_EQ(RunTags(wad, 0), (std::vector<int>{1}));
    EXPECT_EQ(RunTags(wad, 1), (std::vector<int>{2}));
    EXPECT_TRUE(wad.RunsAreValid());
}

TEST(SpriteWadRuns, AnObjectRefusesATextureBeyondItsCountLimit) {
    SpriteWad wad;
    wad.m_sequences = {Seq(464, 0, 0)};
    for (int i = 0; i < SpriteWad::kMaxObjectTextures; ++i) {
        ASSERT_TRUE(wad.AddTexture(0, Tagged(0)));
    }
    EXPECT_FALSE(wad.AddTexture(0, Tagged(0)));
    EXPECT_EQ(wad.m_sequences[0].TextureCount(), SpriteWad::kMaxObjectTextures);
    EXPECT_EQ(wad.TextureCount(), static_cast<std::size_t>(SpriteWad::kMaxObjectTextures));
}

TEST(SpriteWadObjects, PlacementOfNewObjects) {
    SpriteWad wad;
    wad.m_textures.push_back(Tagged(0));
    wad.m_sequences = {Seq(494, 1, 0)};

    EXPECT_EQ(wad.AddObject(kDefaultSpritesSlot), 0u); // no 460 yet
    EXPECT_EQ(wad.AddObject(kSkyGraphicsSlot), 0u);
    EXPECT_EQ(wad.AddObject(kFontGraphicsSlot), 3u);
    ASSERT_EQ(wad.ObjectCount(), 4u);
    EXPECT_EQ(wad.m_sequences[0], Seq(460, 0, 0));
    EXPECT_EQ(wad.m_sequences[1], Seq(463, 0, 0));
    EXPECT_EQ(wad.m_sequences[3], Seq(470, 0, 1));

    SpriteWad withSky;
    withSky.m_sequences = {Seq(494, 0, 0), Seq(460, 0, 0)};
    EXPECT_EQ(withSky.AddObject(kDefaultSpritesSlot), 1u); // a 460 anywhere puts 463 second
}

TEST(SpriteWadObjects, ClearEmptiesAllFourArrays) {
    SpriteWad wad = TwoObjects();
    wad.m_entries.resize(3);
    wad.m_pages.resize(1);
    wad.Clear();
    EXPECT_TRUE(wad.m_entries.empty() && wad.m_sequences.empty() && wad.m_pages.empty() &&
                wad.m_textures.empty());
}

// Random edits against a plain model where every object holds its own list of textures.
TEST(SpriteWadRuns, RandomEditsMatchAPlainModel) {
    std::mt19937 rng(12345);
    SpriteWad wad;
    std::vector<std::pair<std::uint32_t, std::vector<int>>> model;
    int nextTag = 0;
    for (int step = 0; step < 3000; ++step) {
        const int op = static_cast<int>(rng() % 10);
        if (op < 2 || model.empty()) {
            const auto slot = static_cast<std::uint32_t>(455 + rng() % 12);
            if (wad.FindObject(slot)) {
                continue;
            }
            const std::size_t at = *wad.AddObject(slot);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), {slot, {}});
        } else if (op < 7) {
            const std::size_t k = rng() % model.size();
            ASSERT_TRUE(wad.AddTexture(k, Tagged(nextTag)));
            model[k].second.push_back(nextTag++ % 40000);
        } else if (op < 9) {
            const std::size_t k = rng() % model.size();
            if (model[k].second.empty()) {
                continue;
            }
            const int line = static_cast<int>(rng() % model[k].second.size());
            wad.RemoveTexture(k, line);
            model[k].second.erase(model[k].second.begin() + line);
        } else {
            const std::size_t k = rng() % model.size();
            wad.RemoveObject(k);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(k));
        }
        ASSERT_TRUE(wad.RunsAreValid()) << "after step " << step;
        ASSERT_EQ(wad.ObjectCount(), model.size());
        std::size_t total = 0;
        for (std::size_t k = 0; k < model.size(); ++k) {
            ASSERT_EQ(wad.m_sequences[k].slotId, model[k].first);
            ASSERT_EQ(RunTags(wad, k), model[k].second) << "object " << k << " step " << step;
            total += model[k].second.size();
        }
        ASSERT_EQ(wad.TextureCount(), total);
    }
}

TEST(SpriteWadRuns, ValidityCheckCatchesBrokenRuns) {
    SpriteWad wad = TwoObjects();
    EXPECT_TRUE(wad.RunsAreValid());
    wad.m_sequences[0].firstTexture = 2; // 460 now overlaps 463's run
    EXPECT_FALSE(wad.RunsAreValid());
    wad.m_sequences[0].firstTexture = 4; // reaches past the last texture
    EXPECT_FALSE(wad.RunsAreValid());
    wad.m_sequences[0].firstTexture = 3;
    wad.m_sequences.push_back(Seq(470, 0, 1)); // empty, but starting inside 463's run
    EXPECT_FALSE(wad.RunsAreValid());
    wad.m_sequences.back().firstTexture = 5; // empty at the very end is fine
    EXPECT_TRUE(wad.RunsAreValid());
}
