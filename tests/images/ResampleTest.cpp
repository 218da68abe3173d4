#include "images/ResizeMath.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using fixtures::Pixel;
using fixtures::PixelAt;

std::set<Pixel> Colours(const BTCImageData& image) {
    std::set<Pixel> colours;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            colours.insert(PixelAt(image, x, y));
        }
    }
    return colours;
}

// Bilinear weights are never negative: between two levels every new pixel lies within them,
// rising steadily across the step, and some lie strictly between (no nearest neighbour). The
// asked size is taken exactly, not the aspect.
TEST(Resize, EnlargingATwoLevelStepIsBilinear) {
    BTCImageData step;
    ASSERT_TRUE(step.Create(8, 2));
    step.Fill(0, 0, 4, 2, 0x282828u);
    step.Fill(4, 0, 4, 2, 0xC8C8C8u);
    ASSERT_TRUE(step.Resize(64, 3));
    ASSERT_EQ(std::pair(step.GetWidth(), step.GetHeight()), std::pair(64, 3));
    std::vector<int> row;
    for (int x = 0; x < 64; ++x) {
        const Pixel p = PixelAt(step, x, 1);
        EXPECT_TRUE(PixelAt(step, x, 0) == p && p[0] == p[1] && p[1] == p[2]) << "x=" << x;
        row.push_back(p[0]);
    }
    EXPECT_TRUE(std::is_sorted(row.begin(), row.end()));
    EXPECT_EQ(std::pair(row.front(), row.back()), std::pair(0x28, 0xC8));
    EXPECT_GE(std::count_if(row.begin(), row.end(), [](int v) { return v > 0x28 && v < 0xC8; }), 4);
}

// Stretching repeats pixels, so it never mixes colours, whether enlarging or shrinking;
// ResizeTexture stretches with the stretch filter and blends with any other.
TEST(Stretch, RepeatsPixelsAndMixesNoColours) {
    const BTCImageData source = fixtures::MakeTexture(2, 2, 6);
    for (const int filter : {int{kStretchFilter}, int{kBilinearFilter}, 7}) {
        BTCImageData image = source;
        ASSERT_TRUE(ResizeTexture(image, 4, 4, filter));
        ASSERT_EQ(std::pair(image.GetWidth(), image.GetHeight()), std::pair(4, 4));
        bool blocks = true;
        for (int i = 0; i < 16; ++i) {
            blocks = blocks && PixelAt(image, i % 4, i / 4) == PixelAt(source, i % 4 / 2, i / 8);
        }
        EXPECT_EQ(blocks, filter == kStretchFilter) << "filter " << filter;
    }
    const BTCImageData big = fixtures::MakeTexture(31, 29, 8);
    BTCImageData image = big;
    ASSERT_TRUE(image.Stretch(10, 7));
    ASSERT_EQ(std::pair(image.GetWidth(), image.GetHeight()), std::pair(10, 7));
    const std::set<Pixel> all = Colours(big);
    for (const Pixel& p : Colours(image)) {
        EXPECT_TRUE(all.count(p));
    }
}

TEST(Scaling, TakesSidesUpToTheLargestAndRefusesOthersLeavingTheImageAlone) {
    BTCImageData image = fixtures::MakeTexture(6, 6, 2);
    const BTCImageData before = image;
    for (const auto& [w, h] : {std::pair{0, 4}, {4, -1}, {BTCImageData::kMaxSide + 1, 4}}) {
        EXPECT_FALSE(image.Resize(w, h) || image.Stretch(w, h) || StretchTexture(image, w, h));
    }
    EXPECT_EQ(image, before);
    const int max = BTCImageData::kMaxSide;
    ASSERT_TRUE(image.Resize(max, 2) && image.Stretch(3, max));
    EXPECT_EQ(image.GetHeight(), max);
}

} // namespace
