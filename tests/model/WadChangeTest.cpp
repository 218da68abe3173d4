#include "model/WadChange.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <random>

namespace {

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
    std::vector<std::tuple<WadChange, Snapshot, Snapshot>> history;
    for (int step = 0; step < 400; ++step) {
        const std::size_t object = rng() % wad.ObjectCount();
        const ObjectSequence seq = wad.m_sequences[object];
        const int count = seq.TextureCount();
        const Snapshot before = Snap(wad);
        const std::uint32_t kind = rng() % 6;
        if ((count == 0 && (kind == 1 || kind == 2)) || (kind == 3 && wad.ObjectCount() < 2)) {
            continue;
        }
        WadChange change = WadChange::Before(wad);
        switch (kind) {
        case 0: // add one or several textures at the end of the run
            change.Keep(wad, seq.firstTexture + static_cast<std::size_t>(count), 0);
            for (std::uint32_t k = 0, n = 1 + rng() % 3; k < n; ++k) {
                wad.AddTexture(object,
                               fixtures::MakeTexture(1 + static_cast<int>(rng() % 9), 2, rng()));
            }
            break;
        case 1: // delete one texture
            change.Keep(wad, seq.firstTexture + static_cast<std::size_t>(count - 1), 1);
            wad.RemoveTexture(object, count - 1);
            break;
        case 2: // replace a range in place
            change.Keep(wad, seq.firstTexture, static_cast<std::size_t>(count));
            for (int k = 0; k < count; ++k) {
                wad.ObjectTexture(object, k).Stretch(3, 1 + k);
            }
            break;
        case 3: // delete the whole object
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
        history.emplace_back(std::move(change), before, Snap(wad));
        // Every tenth step, walk all the way back and forward again.
        if (step % 10 == 9) {
            for (auto it = history.rbegin(); it != history.rend(); ++it) {
                std::get<0>(*it).Swap(wad);
                ASSERT_EQ(Snap(wad), std::get<1>(*it)) << "undo at step " << step;
            }
            for (auto& [c, undone, done] : history) {
                c.Swap(wad);
                ASSERT_EQ(Snap(wad), done) << "redo at step " << step;
            }
        }
    }
}

// A step keeps only the textures it touched.
TEST(WadChange, KeepsOnlyTheTexturesItReplaced) {
    SpriteWad wad;
    wad.AddObject(1);
    for (int k = 0; k < 50; ++k) {
        wad.AddTexture(0, fixtures::MakeTexture(64, 64, static_cast<std::uint32_t>(k)));
    }
    WadChange replace = WadChange::Before(wad);
    replace.Keep(wad, 7, 1);
    wad.m_textures[7].Stretch(2, 2);
    replace.After(wad);
    EXPECT_EQ(replace.PixelBytes(), 64u * 64u * 3u);
    replace.Swap(wad);
    EXPECT_EQ(wad.m_textures[7], fixtures::MakeTexture(64, 64, 7));
}
