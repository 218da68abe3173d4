#include "images/ResizeMath.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

using fixtures::PixelAt;
using Pixel = std::array<std::uint8_t, 3>;

TEST(ResizeMath, TypedTextReadsAsItsLeadingDigits) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"", 0},    {"64", 64},   {"007", 7},
        {"abc", 0}, {"12x4", 12}, {"999999", 999999},
        {" 5", 0},  {"-3", 0},    {"99999999999999", std::numeric_limits<int>::max()},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ReadTypedNumber(text), value) << '"' << text << '"';
    }
}

TEST(ResizeMath, OtherSideFollowsTheTexturesProportionsTruncated) {
    struct Case {
        int originalWidth, originalHeight;
        bool typedWidth;
        int typed, other;
    };
    const std::vector<Case> cases = {
        {100, 50, true, 64, 32},
        {100, 50, false, 33, 66},
        {3, 7, true, 10, 23},
        {3, 7, false, 10, 4},
        {256, 1, true, 100, 0},
        {100, 50, true, 0, 0},
        {100, 50, false, 0, 0},
        {1, 49, false, 49, 1},
        {1, 75, true, 3, 225},
        {256, 256, true, 999999, 999999},
        {1, 256, true, 999999, 255999744},
    };
    for (const Case& c : cases) {
        const int other = c.typedWidth ? HeightForWidth(c.typed, c.originalWidth, c.originalHeight)
                                       : WidthForHeight(c.typed, c.originalWidth, c.originalHeight);
        EXPECT_EQ(other, c.other) << c.originalWidth << "x" << c.originalHeight << " typed "
                                  << (c.typedWidth ? "width " : "height ") << c.typed;
    }
}

TEST(ResizeMath, RangeTargetFitsIntoTheBoxOrTakesIt) {
    struct Case {
        int width, height, boxWidth, boxHeight;
        bool keep;
        TextureSize expected;
    };
    const std::vector<Case> cases = {
        {128, 32, 64, 64, true, {64, 16}},    {16, 16, 64, 64, true, {64, 64}},
        {100, 30, 64, 64, true, {64, 19}},    {30, 100, 64, 64, true, {19, 64}},
        {100, 30, 64, 64, false, {64, 64}},   {256, 1, 1, 1, true, {1, 1}},
        {1, 256, 10, 10, true, {1, 10}},      {1, 1, 93, 93, true, {93, 93}},
        {5, 5, 40, 20, true, {20, 20}},       {16, 16, 512, 512, true, {256, 256}},
        {16, 16, 512, 100, false, {256, 50}}, {16, 16, 1000, 1, true, {1, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RangeTargetSize(c.width, c.height, c.boxWidth, c.boxHeight, c.keep), c.expected)
            << c.width << "x" << c.height << " into " << c.boxWidth << "x" << c.boxHeight
            << (c.keep ? " keeping proportions" : "");
    }
}

TEST(ResizeMath, StretchRepeatsPixelsAndOtherFiltersBlend) {
    const BTCImageData source = fixtures::MakeTexture(2, 2, 5);
    std::set<Pixel> sourceColours;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            sourceColours.insert(PixelAt(source, x, y));
        }
    }
    for (const int filter : {int{kStretchFilter}, int{kBilinearFilter}, 7}) {
        SCOPED_TRACE(filter);
        BTCImageData texture = source;
        ASSERT_TRUE(ResizeTexture(texture, 4, 4, filter));
        ASSERT_EQ(texture.GetWidth(), 4);
        ASSERT_EQ(texture.GetHeight(), 4);
        int mixed = 0;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                if (filter == kStretchFilter) {
                    EXPECT_EQ(PixelAt(texture, x, y), PixelAt(source, x / 2, y / 2))
                        << x << "," << y;
                }
                mixed += sourceColours.count(PixelAt(texture, x, y)) == 0 ? 1 : 0;
            }
        }
        EXPECT_EQ(mixed > 0, filter != kStretchFilter) << mixed << " blended pixels";
    }
    BTCImageData texture = source;
    EXPECT_FALSE(StretchTexture(texture, 0, 4));
    EXPECT_EQ(texture, source);
}

} // namespace
