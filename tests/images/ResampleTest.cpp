#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using fixtures::Pixel;
using fixtures::PixelAt;

// Grey levels rising from 0 at the left edge to 255 at the right edge.
BTCImageData HorizontalRamp(int width, int height) {
    BTCImageData image;
    image.Create(width, height);
    for (int x = 0; x < width; ++x) {
        const auto level = static_cast<std::uint32_t>(std::lround(255.0 * x / (width - 1)));
        image.Fill(x, 0, 1, height, level | level << 8 | level << 16);
    }
    return image;
}

TEST(Resize, ShrinkingARampStaysARampAndKeepsAUniformColour) {
    BTCImageData ramp = HorizontalRamp(64, 4);
    ASSERT_TRUE(ramp.Resize(32, 2));
    ASSERT_EQ(ramp.GetWidth(), 32);
    ASSERT_EQ(ramp.GetHeight(), 2);
    int previous = -1;
    for (int x = 0; x < 32; ++x) {
        const Pixel p = PixelAt(ramp, x, 0);
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[1], p[2]);
        EXPECT_EQ(PixelAt(ramp, x, 1), p);
        // Output pixel x covers source pixels 2x and 2x + 1.
        const double expected = 255.0 * (2 * x + 0.5) / 63;
        EXPECT_NEAR(p[0], expected, 6.0) << "x=" << x;
        EXPECT_GE(p[0], previous);
        previous = p[0];
    }

    BTCImageData flat;
    ASSERT_TRUE(flat.Create(5, 5));
    flat.Fill(0, 0, 5, 5, 0x00336699u);
    ASSERT_TRUE(flat.Resize(13, 9)); // another aspect: exactly the asked size, not kept
    ASSERT_EQ(flat.GetWidth(), 13);
    ASSERT_EQ(flat.GetHeight(), 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 13; ++x) {
            ASSERT_EQ(PixelAt(flat, x, y), (Pixel{0x33, 0x66, 0x99}));
        }
    }
}

// Bilinear weights are never negative: between two levels every new pixel lies within them,
// rising steadily across the step, and some lie strictly between (no nearest neighbour).
TEST(Resize, EnlargingATwoLevelStepStaysWithinItsLevels) {
    BTCImageData step;
    ASSERT_TRUE(step.Create(8, 2));
    step.Fill(0, 0, 4, 2, 0x282828u);
    step.Fill(4, 0, 4, 2, 0xC8C8C8u);
    ASSERT_TRUE(step.Resize(64, 3));
    std::vector<int> row;
    std::string shown;
    for (int x = 0; x < 64; ++x) {
        const Pixel p = PixelAt(step, x, 1);
        EXPECT_TRUE(PixelAt(step, x, 0) == p && p[0] == p[1] && p[1] == p[2]) << "x=" << x;
        row.push_back(p[0]);
        shown += std::to_string(p[0]) + " ";
    }
    EXPECT_TRUE(std::is_sorted(row.begin(), row.end())) << shown;
    EXPECT_EQ(row.front(), 0x28) << shown;
    EXPECT_EQ(row.back(), 0xC8) << shown;
    EXPECT_GE(std::count_if(row.begin(), row.end(), [](int v) { return v > 0x28 && v < 0xC8; }), 4)
        << "bilinear scaling mixes the two levels at the step: " << shown;
}

TEST(Stretch, DoublingGivesExactBlocksAndShrinkingKeepsOnlySourceColours) {
    const BTCImageData source = fixtures::MakeTexture(2, 2, 6);
    BTCImageData image = source;
    ASSERT_TRUE(image.Stretch(4, 4));
    ASSERT_EQ(image.GetWidth(), 4);
    ASSERT_EQ(image.GetHeight(), 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(PixelAt(image, x, y), PixelAt(source, x / 2, y / 2)) << x << "," << y;
        }
    }

    const BTCImageData big = fixtures::MakeTexture(31, 29, 8);
    std::set<Pixel> colours;
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 31; ++x) {
            colours.insert(PixelAt(big, x, y));
        }
    }
    image = big;
    ASSERT_TRUE(image.Stretch(10, 7));
    ASSERT_EQ(image.GetWidth(), 10);
    ASSERT_EQ(image.GetHeight(), 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_TRUE(colours.count(PixelAt(image, x, y))) << x << "," << y;
        }
    }
}

TEST(Scaling, TakesSidesUpToTheLargestAndRefusesOthersLeavingTheImageAlone) {
    BTCImageData image = fixtures::MakeTexture(6, 6, 2);
    const BTCImageData before = image;
    for (const auto& [w, h] :
         {std::pair{0, 4}, std::pair{4, -1}, std::pair{BTCImageData::kMaxSide + 1, 4},
          std::pair{4, BTCImageData::kMaxSide + 1}}) {
        EXPECT_FALSE(image.Resize(w, h));
        EXPECT_FALSE(image.Stretch(w, h));
    }
    EXPECT_EQ(image, before);
    ASSERT_TRUE(image.Resize(BTCImageData::kMaxSide, 2));
    EXPECT_EQ(image.GetWidth(), BTCImageData::kMaxSide);
    ASSERT_TRUE(image.Stretch(3, BTCImageData::kMaxSide));
    EXPECT_EQ(image.GetHeight(), BTCImageData::kMaxSide);
    BTCImageData empty;
    EXPECT_FALSE(empty.Resize(4, 4));
    EXPECT_FALSE(empty.Stretch(4, 4));
    EXPECT_FALSE(empty.IsLoaded());
}

// Each test runs in a process of its own, so this is the first use of GraphicsMagick here:
// the threads race to start it.
TEST(Scaling, ThreadsMayBeTheFirstToUseTheLibrary) {
    const BTCImageData source = fixtures::MakeTexture(20, 20, 1);
    std::vector<BTCImageData> results(4, source);
    std::vector<int> ok(results.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&, i] { ok[i] = results[i].Resize(9, 31) ? 1 : 0; });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    BTCImageData serial = source;
    ASSERT_TRUE(serial.Resize(9, 31));
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(ok[i], 1);
        EXPECT_EQ(results[i], serial);
    }
}

} // namespace
