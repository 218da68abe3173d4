#include "document/WadChange.h"
#include "document/ObjectSlotNames.h"
#include "images/BTCImageResample.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <utility>

namespace {

// A texture's size is its identity, to see where it ends up.
SpriteTexture Tagged(int id) {
    return fixtures::MakeTexture(1 + id % 200, 1 + id / 200, 1);
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

TEST(WadChange, KeepsOnlyTheTexturesItReplaced) {
    SpriteWad wad = fixtures::GeneratedSet(50, 64, 9);
    const SpriteWad before = wad;
    WadChange replace = WadChange::Before(wad);
    replace.Keep(wad, 7, 1);
    ResampleNearest(wad.m_textures[7], 2, 2);
    replace.After(wad);
    EXPECT_EQ(replace.PixelBytes(), before.m_textures[7].GetImageSize());
    replace.Swap(wad);
    EXPECT_TRUE(wad == before);
}

// Random edits against a model of one list per object; slots repeat and counts may be stored
// positive. Every ten steps the edits are undone back to the first and redone, each giving
// back the objects and textures on its side.
TEST(SpriteWadRuns, RandomEditsMatchAPlainModelAndUndoAndRedoRestoreBothSides) {
    using Model = std::vector<std::pair<std::uint32_t, std::vector<int>>>;
    using Side = std::pair<std::vector<ObjectSequence>, Model>;
    std::mt19937 rng(12345);
    SpriteWad wad;
    Model model;
    std::vector<std::tuple<WadChange, Side, Side>> history;
    const auto holds = [&wad](const Model& m) {
        bool same = wad.RunsAreValid() && wad.ObjectCount() == m.size();
        std::size_t total = 0;
        for (std::size_t k = 0; same && k < m.size(); ++k) {
            same = wad.m_sequences[k].slotId == m[k].first && RunTags(wad, k) == m[k].second;
            total += m[k].second.size();
        }
        return same && wad.TextureCount() == total;
    };
    int nextTag = 0;
    for (int step = 0; step < 3000; ++step) {
        ASSERT_TRUE(holds(model)) << "before step " << step;
        if (step % 10 == 0) {
            for (auto it = history.rbegin(); it != history.rend(); ++it) {
                std::get<0>(*it).Swap(wad);
                const Side& undone = std::get<1>(*it);
                ASSERT_TRUE(wad.m_sequences == undone.first && holds(undone.second)) << step;
            }
            for (auto& [change, undone, done] : history) {
                change.Swap(wad);
                ASSERT_TRUE(wad.m_sequences == done.first && holds(done.second)) << step;
            }
            history.clear();
        }
        Side before{wad.m_sequences, model};
        WadChange change = WadChange::Before(wad);
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
        } else {
            const std::size_t k = rng() % model.size();
            std::vector<int>& run = model[k].second;
            const std::size_t first = wad.m_sequences[k].firstTexture;
            if (op < 7) { // one to three textures at the end of the run, as one edit
                change.Keep(wad, wad.AppendPosition(k), 0);
                for (auto n = 1 + rng() % 3; n > 0; --n) {
                    ASSERT_TRUE(wad.AddTexture(k, Tagged(nextTag)));
                    run.push_back(nextTag++ % 40000);
                }
            } else if (op < 9 || op == 11) { // remove or replace, now and then past the end
                const std::size_t line = rng() % (run.size() + 1);
                if (line < run.size()) {
                    change.Keep(wad, first + line, 1);
                }
                const std::optional<SpriteTexture> old =
                    op == 11 ? wad.ReplaceTexture(k, static_cast<int>(line), Tagged(nextTag))
                             : wad.RemoveTexture(k, static_cast<int>(line));
                ASSERT_EQ(old.has_value(), line < run.size());
                if (old && op == 11) {
                    ASSERT_EQ(TagOf(*old), std::exchange(run[line], nextTag++ % 40000));
                } else if (old) {
                    ASSERT_EQ(TagOf(*old), run[line]);
                    run.erase(run.begin() + static_cast<std::ptrdiff_t>(line));
                }
            } else if (op < 10) {
                change.Keep(wad, first, run.size());
                wad.RemoveObject(k);
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(k));
            } else {
                auto& count = wad.m_sequences[k].negCount;
                count = static_cast<std::int16_t>(-count);
            }
        }
        change.After(wad);
        history.emplace_back(std::move(change), std::move(before), Side{wad.m_sequences, model});
    }
}
