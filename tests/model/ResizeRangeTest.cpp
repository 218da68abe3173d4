#include "model/ResizeRange.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Object 0 (slot 460) owns textures 2..6 of sizes 128x32, 16x16, 100x30, 8x8, 40x40; object
// 1 (slot 463) owns textures 0..1.
SpriteWad FiveTextureObject() {
    SpriteWad wad;
    const std::vector<std::pair<int, int>> sizes = {{9, 9},    {10, 10}, {128, 32}, {16, 16},
                                                    {100, 30}, {8, 8},   {40, 40}};
    std::uint32_t seed = 1;
    for (const auto& [w, h] : sizes) {
        wad.m_textures.push_back(fixtures::MakeTexture(w, h, seed++));
    }
    ObjectSequence five;
    five.slotId = 460;
    five.SetTextureCount(5);
    five.firstTexture = 2;
    ObjectSequence two;
    two.slotId = 463;
    two.SetTextureCount(2);
    two.firstTexture = 0;
    wad.m_sequences = {five, two};
    return wad;
}

std::vector<std::string> Sizes(const SpriteWad& wad) {
    std::vector<std::string> sizes;
    for (const SpriteTexture& t : wad.m_textures) {
        sizes.push_back(std::to_string(t.GetWidth()) + "x" + std::to_string(t.GetHeight()));
    }
    return sizes;
}

TEST(ResizeRange, ResizesOnlyTheLinesAskedForWithinTheObject) {
    struct Case {
        int start, stop;
        RangeResize request;
        int resized;
        std::vector<std::string> sizes;
    };
    const RangeResize keep{64, 64, true, 0};
    const std::vector<Case> cases = {
        {0, 2, keep, 3, {"9x9", "10x10", "64x16", "64x64", "64x19", "8x8", "40x40"}},
        {1,
         4,
         {20, 10, false, 1},
         4,
         {"9x9", "10x10", "128x32", "20x10", "20x10", "20x10", "20x10"}},
        {3, 1, keep, 0, {"9x9", "10x10", "128x32", "16x16", "100x30", "8x8", "40x40"}},
        {-2, 0, keep, 1, {"9x9", "10x10", "64x16", "16x16", "100x30", "8x8", "40x40"}},
        {4, 9, keep, 1, {"9x9", "10x10", "128x32", "16x16", "100x30", "8x8", "64x64"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + ".." + std::to_string(c.stop));
        SpriteWad wad = FiveTextureObject();
        const SpriteWad before = wad;
        EXPECT_EQ(ResizeTextureRange(wad, 0, c.start, c.stop, c.request), c.resized);
        EXPECT_EQ(Sizes(wad), c.sizes);
        EXPECT_EQ(wad.m_sequences, before.m_sequences);
        for (std::size_t i = 0; i < wad.TextureCount(); ++i) {
            const bool inRange =
                static_cast<int>(i) - 2 >= c.start && static_cast<int>(i) - 2 <= c.stop && i >= 2;
            if (!inRange) {
                EXPECT_TRUE(wad.m_textures[i] == before.m_textures[i]) << "texture " << i;
            }
        }
    }
}

} // namespace
