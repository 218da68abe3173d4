#include "images/ImageFitting.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(FitImageSize, ShrinksIntoTheBoxKeepingTheRatioAndNeverEnlarges) {
    const struct {
        int w, h, fittedW, fittedH;
    } cases[] = {
        {100, 50, 100, 50},
        {256, 256, 256, 256},
        {257, 257, 256, 256},
        {257, 10, 256, 10},
        {300, 200, 256, 171},
        {200, 300, 171, 256},
        {640, 480, 256, 192},
        {300, 299, 256, 255},
        {512, 100, 256, 50},
        {512, 1, 256, 1},
        {513, 1, 256, 0},
        {1, 1000, 0, 256},
        // Halves round up: 256 / 512 * 3 is 1.5 exactly.
        {3, 512, 2, 256},
        {512, 5, 256, 3},
        {1, 1, 1, 1},
        {256, 257, 255, 256},
    };
    for (const auto& c : cases) {
        int w = c.w;
        int h = c.h;
        FitImageSize(256, 256, w, h);
        EXPECT_EQ(w, c.fittedW) << c.w << " x " << c.h;
        EXPECT_EQ(h, c.fittedH) << c.w << " x " << c.h;
    }
    // Another box: the ratios are compared with the box's own.
    int w = 400;
    int h = 100;
    FitImageSize(200, 50, w, h);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 50);
}

TEST(FitTexture, KeepsAFittingImageExactAndResamplesOnlyLargerOnes) {
    const BTCImageData small = fixtures::MakeTexture(256, 31, 4);
    BTCImageData image = small;
    ASSERT_TRUE(FitTexture(image));
    EXPECT_EQ(image, small) << "an image that fits keeps every pixel";

    const struct {
        int w, h, fittedW, fittedH;
    } cases[] = {{512, 384, 256, 192}, {300, 299, 256, 255}, {600, 1, 256, 1}, {1, 1000, 1, 256}};
    for (const auto& c : cases) {
        image = fixtures::MakeTexture(c.w, c.h, 2);
        ASSERT_TRUE(FitTexture(image)) << c.w << " x " << c.h;
        EXPECT_EQ(image.GetWidth(), c.fittedW) << "a side that rounds to 0 stays 1";
        EXPECT_EQ(image.GetHeight(), c.fittedH);
    }
    BTCImageData empty;
    EXPECT_FALSE(FitTexture(empty));
}

} // namespace
