// Fitting into a page and the resize arithmetic.
#include "images/ImageFitting.h"
#include "images/ResizeMath.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

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
        int w = c.w;
        int h = c.h;
        FitImageSize(c.boxW, c.boxH, w, h);
        EXPECT_EQ(std::pair(w, h), std::pair(c.fittedW, c.fittedH)) << c.w << " x " << c.h;
    }
}

TEST(ResizeMath, TypedNumbersOtherSideAndRangeTarget) {
    const std::vector<std::pair<std::string, int>> typed = {
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
            << c.width << "x" << c.height << " into " << c.boxWidth << "x" << c.boxHeight
            << (c.keep ? " keeping proportions" : "");
    }
}

} // namespace
