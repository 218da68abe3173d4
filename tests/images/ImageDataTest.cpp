// Fitting, the resize arithmetic, resampling and splitting.
#include "images/ImageFitting.h"
#include "images/ResizeMath.h"
#include "images/SplitImage.h"
#include "support/Fixtures.h"
#include "support/SplitExpectations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

using fixtures::Pixel;
using fixtures::PixelAt;

// Halves round up: 256 / 512 * 3 is 1.5 exactly.
TEST(FitImageSize, ShrinksIntoTheBoxKeepingTheRatioAndNeverEnlarges) {
    const struct {
        int boxW, boxH, w, h, fittedW, fittedH;
    } cases[] = {
        {256, 256, 100, 50, 100, 50},   {256, 256, 257, 257, 256, 256},
        {256, 256, 257, 10, 256, 10},   {256, 256, 300, 200, 256, 171},
        {256, 256, 200, 300, 171, 256}, {256, 256, 300, 299, 256, 255},
        {256, 256, 513, 1, 256, 0},     {256, 256, 1, 1000, 0, 256},
        {256, 256, 3, 512, 2, 256},     {256, 256, 512, 5, 256, 3},
        {256, 256, 256, 257, 255, 256}, {200, 50, 400, 100, 200, 50},
    };
    for (const auto& c : cases) {
        int w = c.w, h = c.h;
        FitImageSize(c.boxW, c.boxH, w, h);
        EXPECT_EQ(std::pair(w, h), std::pair(c.fittedW, c.fittedH)) << c.w << " x " << c.h;
    }
}

TEST(ResizeMath, TypedNumbersOtherSideAndRangeTarget) {
    const std::pair<const char*, int> typed[] = {
        {"", 0},
        {"007", 7},
        {"abc", 0},
        {"12x4", 12},
        {" 5", 0},
        {"-3", 0},
        {"99999999999999", std::numeric_limits<int>::max()}};
    for (const auto& [text, value] : typed) {
        EXPECT_EQ(ReadTypedNumber(text), value) << '"' << text << '"';
    }
    // The other side follows the texture's proportions, truncated, without overflowing.
    EXPECT_EQ(HeightForWidth(64, 100, 50), 32);
    EXPECT_EQ(WidthForHeight(33, 100, 50), 66);
    EXPECT_EQ(HeightForWidth(10, 3, 7), 23);
    EXPECT_EQ(WidthForHeight(10, 3, 7), 4);
    EXPECT_EQ(HeightForWidth(100, 256, 1), 0);
    EXPECT_EQ(HeightForWidth(999999, 1, 256), 255999744);
    const struct {
        int width, height, boxWidth, boxHeight;
        bool keep;
        TextureSize expected;
    } cases[] = {
        {128, 32, 64, 64, true, {64, 16}},    {16, 16, 64, 64, true, {64, 64}},
        {30, 100, 64, 64, true, {19, 64}},    {100, 30, 64, 64, false, {64, 64}},
        {1, 256, 10, 10, true, {1, 10}},      {5, 5, 40, 20, true, {20, 20}},
        {16, 16, 512, 512, true, {256, 256}}, {16, 16, 512, 100, false, {256, 50}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RangeTargetSize(c.width, c.height, c.boxWidth, c.boxHeight, c.keep), c.expected)
            << c.width << "x" << c.height << " into " << c.boxWidth << "x" << c.boxHeight;
    }
}

// Every new pixel lies within the two levels, rising steadily, some strictly between; the asked
// size is taken exactly, not the aspect.
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

// ResizeTexture stretches with the stretch filter and blends with any other.
TEST(Stretch, RepeatsPixelsAndMixesNoColours) {
    const BTCImageData source = fixtures::MakeTexture(2, 2, 6);
    for (const int filter : {int{kStretchFilter}, int{kBilinearFilter}, 7}) {
        BTCImageData image = source;
        ASSERT_TRUE(ResizeTexture(image, 4, 4, filter));
        bool blocks = image.GetWidth() == 4 && image.GetHeight() == 4;
        for (int i = 0; i < 16; ++i) {
            blocks = blocks && PixelAt(image, i % 4, i / 4) == PixelAt(source, i % 4 / 2, i / 8);
        }
        EXPECT_EQ(blocks, filter == kStretchFilter) << "filter " << filter;
    }
    const BTCImageData big = fixtures::MakeTexture(31, 29, 8);
    BTCImageData image = big;
    ASSERT_TRUE(image.Stretch(10, 7));
    ASSERT_EQ(std::pair(image.GetWidth(), image.GetHeight()), std::pair(10, 7));
    std::set<Pixel> all;
    for (int i = 0; i < 31 * 29; ++i) {
        all.insert(PixelAt(big, i % 31, i / 31));
    }
    for (int i = 0; i < 70; ++i) {
        EXPECT_TRUE(all.count(PixelAt(image, i % 10, i / 10))) << i;
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

std::vector<BTCImageData> SplitAll(const BTCImageData& image, int w, int h, PiecePolicy policy) {
    std::vector<BTCImageData> pieces;
    const std::size_t added = SplitImage(
        image, w, h, policy, [] { return true; },
        [&pieces](BTCImageData p) { return pieces.push_back(std::move(p)), true; });
    EXPECT_EQ(added, pieces.size());
    return pieces;
}

// Pieces in row order, edge pieces cut short or padded with magenta; sides outside 1..256 cut
// nothing.
TEST(SplitImage, GridsAndEdgePiecesForBothPolicies) {
    const int cases[][4] = {{300, 200, 128, 128}, {100, 50, 256, 256}, {33, 65, 32, 64}};
    std::uint32_t seed = 1;
    for (const auto& [w, h, pw, ph] : cases) {
        for (const PiecePolicy policy : {PiecePolicy::AllowSmaller, PiecePolicy::PadWithMagenta}) {
            SCOPED_TRACE(std::to_string(w) + " " + std::to_string(int(policy)));
            const BTCImageData image = fixtures::MakeTexture(w, h, ++seed);
            const std::vector<BTCImageData> pieces = SplitAll(image, pw, ph, policy);
            EXPECT_TRUE(fixtures::PiecesMatchSplit(image, pw, ph,
                                                   policy == PiecePolicy::PadWithMagenta, pieces));
            if (w == 300 && policy == PiecePolicy::AllowSmaller) {
                ASSERT_EQ(pieces.size(), 6u);
                EXPECT_EQ(std::pair(pieces[5].GetWidth(), pieces[5].GetHeight()),
                          std::pair(44, 72));
            }
        }
    }
    const BTCImageData image = fixtures::MakeTexture(8, 8, 4);
    EXPECT_TRUE(SplitAll(image, 0, 4, PiecePolicy::AllowSmaller).empty());
    EXPECT_TRUE(SplitAll(image, 4, 257, PiecePolicy::AllowSmaller).empty());
}

// Questions answered yes, pieces `add` takes; then pieces added, questions asked, pieces offered.
TEST(SplitImage, AsksBeforeEveryRowAndPieceAndStopsWhenToldOrRefused) {
    const BTCImageData image = fixtures::MakeTexture(300, 200, 3); // 2 rows of 3 pieces
    const int cases[][5] = {
        {100, 100, 6, 8, 6}, // row, 3 pieces, row, 3 pieces
        {0, 100, 0, 1, 0},   // stopped before the first row
        {3, 100, 2, 4, 2},   // stopped before the third piece of the first row
        {4, 100, 3, 5, 3},   // stopped before the second row
        {100, 4, 4, 7, 5},   // the fifth piece refused: nothing after it is cut
    };
    for (const auto& [yes, accepted, added, asked, offered] : cases) {
        SCOPED_TRACE(std::to_string(yes) + " " + std::to_string(accepted));
        int questions = 0;
        int offers = 0;
        EXPECT_EQ(SplitImage(
                      image, 128, 128, PiecePolicy::AllowSmaller,
                      [&] { return ++questions <= yes; },
                      [&](BTCImageData) { return ++offers <= accepted; }),
                  static_cast<std::size_t>(added));
        EXPECT_EQ(std::pair(questions, offers), std::pair(asked, offered));
    }
}

} // namespace
