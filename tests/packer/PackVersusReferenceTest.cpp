#include "model/PackTextures.h"

#include "support/Fixtures.h"
#include "support/ReferencePacker.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Sides at and around the powers of two and the page edge, where a first-fit search most
// easily slips by one; every set starts from stale pages and entries of an earlier save.
TEST(PackVersusReference, EdgeSizedSetsGiveTheSamePagesEntriesAndPixels) {
    static const int edge[] = {1, 2, 63, 64, 65, 127, 128, 129, 255, 256};
    for (std::uint32_t seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed * 7919u);
        const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n)(rng); };
        SpriteWad wad;
        wad.m_pages.resize(2);
        wad.m_entries.resize(5);
        const int count = 1 + pick(59);
        for (int i = 0; i < count; ++i) {
            wad.m_textures.push_back(fixtures::MakeTexture(edge[pick(9)], edge[pick(9)],
                                                           static_cast<std::uint32_t>(rng())));
        }
        const std::vector<SpriteTexture> before = wad.m_textures;
        const fixtures::ReferencePacking expected = fixtures::ReferencePack(wad.m_textures);
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        ASSERT_EQ(wad.m_entries.size(), expected.entries.size());
        for (std::size_t i = 0; i < expected.entries.size(); ++i) {
            const SpriteEntry& a = wad.m_entries[i];
            const SpriteEntry& b = expected.entries[i];
            ASSERT_EQ(a, b) << "texture " << i << " (" << a.Width() << " x " << a.Height()
                            << "): page " << a.page << " (" << int{a.x} << ", " << int{a.y}
                            << ") instead of page " << b.page << " (" << int{b.x} << ", "
                            << int{b.y} << ")";
        }
        ASSERT_TRUE(wad.m_pages == expected.pages) << "pages differ";
        ASSERT_TRUE(wad.m_textures == before) << "packing changed a texture";
    }
}

} // namespace
