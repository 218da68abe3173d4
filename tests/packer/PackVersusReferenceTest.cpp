#include "model/PackTextures.h"

#include "support/Fixtures.h"
#include "support/ReferencePacker.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using SizeDraw = std::function<std::pair<int, int>(std::mt19937&)>;

int Side(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

struct Distribution {
    std::string name;
    int count;
    SizeDraw draw;
};

std::vector<Distribution> Distributions() {
    return {
        {"tiny", 300,
         [](std::mt19937& r) {
             return std::pair{Side(r, 1, 6), Side(r, 1, 6)};
         }},
        {"sprites", 60,
         [](std::mt19937& r) {
             static const int sides[] = {16, 24, 32, 48, 64, 96, 128};
             const int a = sides[Side(r, 0, 6)];
             return Side(r, 0, 2) == 0 ? std::pair{a, a} : std::pair{a, sides[Side(r, 0, 6)]};
         }},
        {"wide", 60,
         [](std::mt19937& r) {
             return std::pair{Side(r, 100, 256), Side(r, 1, 12)};
         }},
        {"tall", 60,
         [](std::mt19937& r) {
             return std::pair{Side(r, 1, 12), Side(r, 100, 256)};
         }},
        {"mixed", 80,
         [](std::mt19937& r) {
             switch (Side(r, 0, 4)) {
             case 0:
                 return std::pair{Side(r, 1, 4), Side(r, 1, 4)};
             case 1:
                 return std::pair{256, Side(r, 1, 40)};
             case 2:
                 return std::pair{Side(r, 1, 40), 256};
             case 3:
                 return std::pair{Side(r, 1, 256), Side(r, 1, 256)};
             default:
                 return std::pair{Side(r, 20, 90), Side(r, 20, 90)};
             }
         }},
        {"edges", 60,
         [](std::mt19937& r) {
             static const int sides[] = {1, 2, 63, 64, 65, 127, 128, 129, 255, 256};
             return std::pair{sides[Side(r, 0, 9)], sides[Side(r, 0, 9)]};
         }},
    };
}

class PackVersusReference : public ::testing::TestWithParam<Distribution> {};

TEST_P(PackVersusReference, SamePagesEntriesAndPixels) {
    const Distribution& dist = GetParam();
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed * 7919u + static_cast<std::uint32_t>(dist.count));
        SpriteWad wad;
        const int count = Side(rng, 1, dist.count);
        for (int i = 0; i < count; ++i) {
            const auto [w, h] = dist.draw(rng);
            wad.m_textures.push_back(
                fixtures::MakeTexture(w, h, static_cast<std::uint32_t>(rng())));
        }
        const fixtures::ReferencePacking expected = fixtures::ReferencePack(wad.m_textures);
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        ASSERT_EQ(wad.m_entries.size(), expected.entries.size()) << dist.name << " seed " << seed;
        for (std::size_t i = 0; i < expected.entries.size(); ++i) {
            const SpriteEntry& a = wad.m_entries[i];
            const SpriteEntry& b = expected.entries[i];
            ASSERT_EQ(a, b) << dist.name << " seed " << seed << " texture " << i << " ("
                            << wad.m_textures[i].GetWidth() << " x "
                            << wad.m_textures[i].GetHeight() << "): page " << a.page << " ("
                            << int{a.x} << ", " << int{a.y} << ") instead of page " << b.page
                            << " (" << int{b.x} << ", " << int{b.y} << ")";
        }
        ASSERT_EQ(wad.m_pages.size(), expected.pages.size()) << dist.name << " seed " << seed;
        for (std::size_t p = 0; p < expected.pages.size(); ++p) {
            ASSERT_TRUE(wad.m_pages[p] == expected.pages[p])
                << dist.name << " seed " << seed << " page " << p << " pixels differ";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RandomSets, PackVersusReference, ::testing::ValuesIn(Distributions()),
                         [](const ::testing::TestParamInfo<Distribution>& param) {
                             return param.param.name;
                         });

} // namespace
