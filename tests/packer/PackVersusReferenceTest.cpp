#include "model/PackTextures.h"

#include "support/Fixtures.h"
#include "support/ReferencePacker.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

enum class Kind { Tiny, Sprites, Wide, Tall, Mixed, Edges };

struct Distribution {
    std::string name;
    int count;
    Kind kind;
};

void PrintTo(const Distribution& d, std::ostream* os) {
    *os << d.name;
}

std::pair<int, int> DrawSize(Kind kind, std::mt19937& rng) {
    const auto side = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    static const int sprite[] = {16, 24, 32, 48, 64, 96, 128};
    static const int edge[] = {1, 2, 63, 64, 65, 127, 128, 129, 255, 256};
    switch (kind) {
    case Kind::Tiny:
        return {side(1, 6), side(1, 6)};
    case Kind::Sprites: {
        const int a = sprite[side(0, 6)];
        return {a, side(0, 2) == 0 ? a : sprite[side(0, 6)]};
    }
    case Kind::Wide:
        return {side(100, 256), side(1, 12)};
    case Kind::Tall:
        return {side(1, 12), side(100, 256)};
    case Kind::Mixed:
        switch (side(0, 4)) {
        case 0:
            return {side(1, 4), side(1, 4)};
        case 1:
            return {256, side(1, 40)};
        case 2:
            return {side(1, 40), 256};
        case 3:
            return {side(1, 256), side(1, 256)};
        default:
            return {side(20, 90), side(20, 90)};
        }
    case Kind::Edges:
        return {edge[side(0, 9)], edge[side(0, 9)]};
    }
    return {1, 1};
}

class PackVersusReference : public ::testing::TestWithParam<Distribution> {};

TEST_P(PackVersusReference, SamePagesEntriesAndPixels) {
    const Distribution& dist = GetParam();
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(dist.name + " seed " + std::to_string(seed));
        std::mt19937 rng(seed * 7919u + static_cast<std::uint32_t>(dist.count));
        SpriteWad wad;
        const int count = std::uniform_int_distribution<int>(1, dist.count)(rng);
        for (int i = 0; i < count; ++i) {
            const auto [w, h] = DrawSize(dist.kind, rng);
            wad.m_textures.push_back(
                fixtures::MakeTexture(w, h, static_cast<std::uint32_t>(rng())));
        }
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
    }
}

INSTANTIATE_TEST_SUITE_P(RandomSets, PackVersusReference,
                         ::testing::Values(Distribution{"tiny", 300, Kind::Tiny},
                                           Distribution{"sprites", 60, Kind::Sprites},
                                           Distribution{"wide", 60, Kind::Wide},
                                           Distribution{"tall", 60, Kind::Tall},
                                           Distribution{"mixed", 80, Kind::Mixed},
                                           Distribution{"edges", 60, Kind::Edges}),
                         [](const ::testing::TestParamInfo<Distribution>& param) {
                             return param.param.name;
                         });

} // namespace
