#include "model/ResizeRange.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Object 0 (slot 460) owns textures 2..6, object 1 (slot 463) owns 0..1.
TEST(ResizeRange, ResizesOnlyTheLinesAskedForWithinTheObject) {
    SpriteWad wad;
    for (const auto& [w, h] :
         {std::pair{9, 9}, {10, 10}, {128, 32}, {16, 16}, {100, 30}, {8, 8}, {40, 40}}) {
        wad.m_textures.push_back(fixtures::MakeTexture(w, h, static_cast<std::uint32_t>(w)));
    }
    wad.m_sequences = {{460, -5, 2}, {463, -2, 0}};
    const SpriteWad before = wad;
    const RangeResize keep{64, 64, true, 0};
    const struct {
        int start, stop;
        RangeResize request;
        int resized;
        const char* sizes;
    } cases[] = {
        {0, 2, keep, 3, "9x9 10x10 64x16 64x64 64x19 8x8 40x40"},
        {1, 4, {20, 10, false, 1}, 4, "9x9 10x10 128x32 20x10 20x10 20x10 20x10"},
        {3, 1, keep, 0, "9x9 10x10 128x32 16x16 100x30 8x8 40x40"},
        {-2, 0, keep, 1, "9x9 10x10 64x16 16x16 100x30 8x8 40x40"},
        {4, 9, keep, 1, "9x9 10x10 128x32 16x16 100x30 8x8 64x64"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + ".." + std::to_string(c.stop));
        wad = before;
        EXPECT_EQ(ResizeTextureRange(wad, 0, c.start, c.stop, c.request), c.resized);
        std::string sizes;
        for (std::size_t i = 0; i < wad.TextureCount(); ++i) {
            const SpriteTexture& t = wad.m_textures[i];
            sizes +=
                (i ? " " : "") + std::to_string(t.GetWidth()) + "x" + std::to_string(t.GetHeight());
            const int line = static_cast<int>(i) - 2;
            EXPECT_TRUE(t == before.m_textures[i] || (i >= 2 && line >= c.start && line <= c.stop));
        }
        EXPECT_EQ(sizes, c.sizes);
        EXPECT_EQ(wad.m_sequences, before.m_sequences);
    }
}

} // namespace
