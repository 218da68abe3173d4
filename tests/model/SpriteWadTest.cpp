#include "model/SpriteWad.h"
#include "model/ObjectSlotNames.h"

#include <gtest/gtest.h>

#include <algorithm>
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

std::vector<int> RunTags(const SpriteWad& wad, std::size_t object) {
    std::vector<int> tags;
    for (int k = 0; k < wad.m_sequences[object].TextureCount(); ++k) {
        tags.push_back(TagOf(wad.ObjectTexture(object, k)));
    }
    return tags;
}

} // namespace

// Random edits against a plain model where every object holds its own list of textures.
// Slot numbers repeat and counts are sometimes stored positive, as files may hold them.
TEST(SpriteWadRuns, RandomEditsMatchAPlainModel) {
    std::mt19937 rng(12345);
    SpriteWad wad;
    std::vector<std::pair<std::uint32_t, std::vector<int>>> model;
    int nextTag = 0;
    // Each step checks the document the steps before it left.
    for (int step = 0; step < 3000; ++step) {
        ASSERT_TRUE(wad.RunsAreValid()) << "before step " << step;
        ASSERT_EQ(wad.ObjectCount(), model.size());
        std::size_t total = 0;
        for (std::size_t k = 0; k < model.size(); ++k) {
            ASSERT_EQ(wad.m_sequences[k].slotId, model[k].first);
            ASSERT_EQ(RunTags(wad, k), model[k].second) << "object " << k << " step " << step;
            total += model[k].second.size();
        }
        ASSERT_EQ(wad.TextureCount(), total);
        const int op = static_cast<int>(rng() % 12);
        if (op < 2 || model.empty()) {
            const auto slot = static_cast<std::uint32_t>(455 + rng() % 12);
            const bool skyExists = std::any_of(model.begin(), model.end(), [](const auto& o) {
                return o.first == kSkyGraphicsSlot;
            });
            const std::size_t textures = wad.TextureCount();
            const std::size_t at = *wad.AddObject(slot);
            const bool front = slot == kSkyGraphicsSlot || slot == kDefaultSpritesSlot;
            ASSERT_EQ(at, slot == kSkyGraphicsSlot      ? 0
                          : slot == kDefaultSpritesSlot ? (skyExists ? 1 : 0)
                                                        : model.size());
            ASSERT_EQ(wad.m_sequences[at].firstTexture, front ? 0u : textures) << "slot " << slot;
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), {slot, {}});
            continue;
        }
        const std::size_t k = rng() % model.size();
        std::vector<int>& run = model[k].second;
        if (op < 7) {
            ASSERT_TRUE(wad.AddTexture(k, Tagged(nextTag)));
            run.push_back(nextTag++ % 40000);
        } else if (op < 9 || op == 11) { // remove or replace, now and then past the end
            const std::size_t line = rng() % (run.size() + 1);
            const std::optional<SpriteTexture> old =
                op == 11 ? wad.ReplaceTexture(k, static_cast<int>(line), Tagged(nextTag))
                         : wad.RemoveTexture(k, static_cast<int>(line));
            ASSERT_EQ(old.has_value(), line < run.size());
            if (!old) {
                continue;
            }
            ASSERT_EQ(TagOf(*old), run[line]);
            if (op == 11) {
                run[line] = nextTag++ % 40000;
            } else {
                run.erase(run.begin() + static_cast<std::ptrdiff_t>(line));
            }
        } else if (op < 10) {
            wad.RemoveObject(k);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(k));
        } else {
            std::int16_t& count = wad.m_sequences[k].negCount;
            count = static_cast<std::int16_t>(-count);
        }
    }
}

// A count is 16 signed bits and a first index 16 unsigned bits: an object holds at most
// 32 767 textures, the wad 65 535, and a new object may still start at texture 65 535.
TEST(SpriteWadLimits, ObjectAndWadFillUpAndANewObjectStartsAtTheLastIndex) {
    SpriteWad wad;
    wad.m_sequences = {{463, 0, 0}, {464, 0, 0}, {494, 0, 0}};
    for (std::size_t k = 0; k < 2; ++k) {
        for (int i = 0; i < SpriteWad::kMaxObjectTextures; ++i) {
            ASSERT_TRUE(wad.AddTexture(k, Tagged(0)));
        }
        EXPECT_FALSE(wad.AddTexture(k, Tagged(0))) << "object " << k << " is full";
    }
    ASSERT_TRUE(wad.AddTexture(2, Tagged(0)));
    EXPECT_FALSE(wad.AddTexture(2, Tagged(0))) << "the wad is full";
    EXPECT_EQ(wad.TextureCount(), 65535u);

    EXPECT_EQ(wad.m_sequences[wad.AddObject(kFontGraphicsSlot).value()].firstTexture, 65535);

    wad.m_textures.push_back(Tagged(0)); // as a file with 65 536 sprites loads
    EXPECT_FALSE(wad.AddObject(495).has_value()) << "65 536 does not fit a first index";
    EXPECT_EQ(wad.AddObject(kSkyGraphicsSlot), 0u) << "460 starts at texture 0 regardless";
}
