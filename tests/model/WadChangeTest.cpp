#include "model/WadChange.h"

#include <gtest/gtest.h>

#include <random>

namespace {

SpriteTexture Solid(int width, int height, std::uint32_t colour) {
    SpriteTexture t;
    t.Create(width, height);
    t.Fill(0, 0, width, height, colour);
    return t;
}

using Snapshot = std::pair<std::vector<ObjectSequence>, std::vector<SpriteTexture>>;
Snapshot Snap(const SpriteWad& wad) {
    return {wad.m_sequences, wad.m_textures};
}

} // namespace

// Every kind of edit touches the object list and one run of textures; undoing it must give
// back the document before it, redoing the document after it, any number of times.
TEST(WadChange, UndoAndRedoOfRandomEditsRestoreBothSides) {
    std::mt19937 engine(7);
    const auto rng = [&engine] { return static_cast<std::uint32_t>(engine()); };
    SpriteWad wad;
    for (std::uint32_t slot : {460u, 463u, 1u, 2u}) {
        wad.AddObject(slot);
    }
    std::vector<std::pair<WadChange, Snapshot>> history;
    for (int step = 0; step < 400; ++step) {
        const std::size_t object = rng() % wad.ObjectCount();
        const ObjectSequence seq = wad.m_sequences[object];
        const int count = seq.TextureCount();
        const Snapshot before = Snap(wad);
        WadChange change = WadChange::Before(wad);
        switch (rng() % 6) {
        case 0: // add one or several textures at the end of the run
            change.Keep(wad, seq.firstTexture + static_cast<std::size_t>(count), 0);
            for (std::uint32_t k = 0, n = 1 + rng() % 3; k < n; ++k) {
                wad.AddTexture(object, Solid(1 + static_cast<int>(rng() % 9), 2, rng()));
            }
            break;
        case 1: // delete one texture
            if (count == 0)
                continue;
            change.Keep(wad, seq.firstTexture + static_cast<std::size_t>(count - 1), 1);
            wad.RemoveTexture(object, count - 1);
            break;
        case 2: // replace a range in place
            if (count == 0)
                continue;
            change.Keep(wad, seq.firstTexture, static_cast<std::size_t>(count));
            for (int k = 0; k < count; ++k) {
                wad.ObjectTexture(object, k).Stretch(3, 1 + k);
            }
            break;
        case 3: // delete the whole object
            if (wad.ObjectCount() < 2)
                continue;
            change.Keep(wad, seq.firstTexture, static_cast<std::size_t>(count));
            wad.RemoveObject(object);
            break;
        case 4: // re-number it
            wad.m_sequences[object].slotId = 1000 + static_cast<std::uint32_t>(step);
            break;
        default: // add an object
            wad.AddObject(2000 + static_cast<std::uint32_t>(step));
            break;
        }
        change.After(wad);
        ASSERT_TRUE(wad.RunsAreValid());
        history.emplace_back(std::move(change), Snap(wad));
        // Undo then redo the step at once, and every tenth step walk far back and forward.
        auto& [last, after] = history.back();
        last.Swap(wad);
        ASSERT_EQ(Snap(wad), before) << "undo of step " << step;
        last.Swap(wad);
        ASSERT_EQ(Snap(wad), after) << "redo of step " << step;
        if (step % 10 == 9) {
            for (auto it = history.rbegin(); it != history.rend(); ++it) {
                it->first.Swap(wad);
            }
            EXPECT_EQ(wad.ObjectCount(), 4u);
            EXPECT_EQ(wad.TextureCount(), 0u);
            for (auto& [c, s] : history) {
                c.Swap(wad);
                ASSERT_EQ(Snap(wad), s);
            }
        }
    }
}

// A step keeps only the run it touched: adding keeps nothing, replacing one texture keeps one.
TEST(WadChange, KeepsOnlyTheTexturesItReplaced) {
    SpriteWad wad;
    wad.AddObject(1);
    for (int k = 0; k < 50; ++k) {
        wad.AddTexture(0, Solid(64, 64, static_cast<std::uint32_t>(k)));
    }
    WadChange add = WadChange::Before(wad);
    add.Keep(wad, 50, 0);
    wad.AddTexture(0, Solid(64, 64, 1));
    add.After(wad);
    EXPECT_EQ(add.PixelBytes(), 0u);

    WadChange replace = WadChange::Before(wad);
    replace.Keep(wad, 7, 1);
    wad.m_textures[7].Stretch(2, 2);
    replace.After(wad);
    EXPECT_EQ(replace.PixelBytes(), 64u * 64u * 3u);
    replace.Swap(wad);
    EXPECT_EQ(wad.m_textures[7], Solid(64, 64, 7));
}
