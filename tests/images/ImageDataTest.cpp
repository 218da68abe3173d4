// The image buffer, fitting into a page, and the resize arithmetic.
#include "images/ImageFitting.h"
#include "images/ResizeMath.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using fixtures::Pixel;
using fixtures::PixelAt;

TEST(ImageData, CreateRefusesBadSizesAndDepthsAndKeepsTheImage) {
    BTCImageData image = fixtures::MakeTexture(3, 2, 1);
    const BTCImageData before = image;
    for (const auto& [w, h, bits] :
         {std::tuple{0, 5, 24}, {5, -1, 24}, {4, 4, 32}, {BTCImageData::kMaxSide + 1, 1, 24}}) {
        EXPECT_FALSE(image.Create(w, h, bits)) << w << "x" << h << "x" << bits;
    }
    EXPECT_EQ(image, before);
    ASSERT_TRUE(image.Create(5, 7));
    EXPECT_EQ(image.GetImageSize(), 5u * 7u * 3u);
    EXPECT_EQ(PixelAt(image, 4, 6), (Pixel{0, 0, 0}));
    EXPECT_TRUE(image.Create(1, BTCImageData::kMaxSide));
}

// Fill takes red in the low byte; both Fill and Combine clip on every side.
TEST(ImageData, FillAndCombineClipToTheImage) {
    const BTCImageData stamp = fixtures::MakeTexture(3, 3, 9);
    for (const auto& [ox, oy] : {std::pair{0, 0}, {-1, -2}, {4, 3}, {-3, 0}, {5, 1}}) {
        BTCImageData canvas;
        ASSERT_TRUE(canvas.Create(5, 4));
        canvas.Fill(-1, -1, 7, 6, 0x00ABCDEFu);
        canvas.Fill(ox, oy, 3, 3, 0x00FF0012u);
        const BTCImageData filled = canvas;
        canvas.Combine(stamp, ox, oy);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                const bool covered = x >= ox && x < ox + 3 && y >= oy && y < oy + 3;
                EXPECT_EQ(PixelAt(filled, x, y),
                          (covered ? Pixel{0xFF, 0x00, 0x12} : Pixel{0xAB, 0xCD, 0xEF}));
                EXPECT_EQ(PixelAt(canvas, x, y),
                          (covered ? PixelAt(stamp, x - ox, y - oy) : Pixel{0xAB, 0xCD, 0xEF}))
                    << "offset " << ox << "," << oy << " pixel " << x << "," << y;
            }
        }
    }
}

// Halves round up: 256 / 512 * 3 is 1.5 exactly.
TEST(FitImageSize, ShrinksIntoTheBoxKeepingTheRatioAndNeverEnlarges) {
    const struct {
        int w, h, fittedW, fittedH;
    } cases[] = {
        {100, 50, 100, 50},   {256, 256, 256, 256}, {257, 257, 256, 256}, {257, 10, 256, 10},
        {300, 200, 256, 171}, {200, 300, 171, 256}, {640, 480, 256, 192}, {300, 299, 256, 255},
        {512, 100, 256, 50},  {512, 1, 256, 1},     {513, 1, 256, 0},     {1, 1000, 0, 256},
        {3, 512, 2, 256},     {512, 5, 256, 3},     {1, 1, 1, 1},         {256, 257, 255, 256},
    };
    for (const auto& c : cases) {
        int w = c.w;
        int h = c.h;
        FitImageSize(256, 256, w, h);
        EXPECT_EQ(std::pair(w, h), std::pair(c.fittedW, c.fittedH)) << c.w << " x " << c.h;
    }
    // Another box: the ratios are compared with the box's own.
    int w = 400;
    int h = 100;
    FitImageSize(200, 50, w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(200, 50));
}

TEST(FitTexture, KeepsAFittingImageExactAndResamplesOnlyLargerOnes) {
    const BTCImageData small = fixtures::MakeTexture(256, 31, 4);
    BTCImageData image = small;
    ASSERT_TRUE(FitTexture(image));
    EXPECT_EQ(image, small) << "an image that fits keeps every pixel";
    // A side that rounds to 0 stays 1.
    for (const auto& [w, h, fw, fh] :
         {std::tuple{512, 384, 256, 192}, {600, 1, 256, 1}, {1, 1000, 1, 256}}) {
        image = fixtures::MakeTexture(w, h, 2);
        ASSERT_TRUE(FitTexture(image)) << w << " x " << h;
        EXPECT_EQ(std::pair(image.GetWidth(), image.GetHeight()), std::pair(fw, fh));
    }
    BTCImageData empty;
    EXPECT_FALSE(FitTexture(empty));
}

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
    const struct {
        int originalWidth, originalHeight;
        bool typedWidth;
        int typed, other;
    } cases[] = {
        {100, 50, true, 64, 32}, {100, 50, false, 33, 66}, {3, 7, true, 10, 23},
        {3, 7, false, 10, 4},    {256, 1, true, 100, 0},   {100, 50, true, 0, 0},
        {100, 50, false, 0, 0},  {1, 49, false, 49, 1},    {1, 75, true, 3, 225},
    };
    for (const auto& c : cases) {
        const int other = c.typedWidth ? HeightForWidth(c.typed, c.originalWidth, c.originalHeight)
                                       : WidthForHeight(c.typed, c.originalWidth, c.originalHeight);
        EXPECT_EQ(other, c.other) << c.originalWidth << "x" << c.originalHeight << " typed "
                                  << (c.typedWidth ? "width " : "height ") << c.typed;
    }
    // Large typed numbers do not overflow.
    EXPECT_EQ(HeightForWidth(999999, 256, 256), 999999);
    EXPECT_EQ(HeightForWidth(999999, 1, 256), 255999744);
}

TEST(ResizeMath, RangeTargetFitsIntoTheBoxOrTakesIt) {
    const struct {
        int width, height, boxWidth, boxHeight;
        bool keep;
        TextureSize expected;
    } cases[] = {
        {128, 32, 64, 64, true, {64, 16}},    {16, 16, 64, 64, true, {64, 64}},
        {100, 30, 64, 64, true, {64, 19}},    {30, 100, 64, 64, true, {19, 64}},
        {100, 30, 64, 64, false, {64, 64}},   {256, 1, 1, 1, true, {1, 1}},
        {1, 256, 10, 10, true, {1, 10}},      {1, 1, 93, 93, true, {93, 93}},
        {5, 5, 40, 20, true, {20, 20}},       {16, 16, 512, 512, true, {256, 256}},
        {16, 16, 512, 100, false, {256, 50}}, {16, 16, 1000, 1, true, {1, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RangeTargetSize(c.width, c.height, c.boxWidth, c.boxHeight, c.keep), c.expected)
            << c.width << "x" << c.height << " into " << c.boxWidth << "x" << c.boxHeight
            << (c.keep ? " keeping proportions" : "");
    }
}

} // namespace
