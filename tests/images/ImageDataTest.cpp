#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace {

using fixtures::Pixel;
using fixtures::PixelAt;

TEST(ImageData, CreateRefusesBadSizesAndDepthsAndKeepsTheImage) {
    BTCImageData image = fixtures::MakeTexture(3, 2, 1);
    const BTCImageData before = image;
    EXPECT_FALSE(image.Create(0, 5));
    EXPECT_FALSE(image.Create(5, -1));
    EXPECT_FALSE(image.Create(BTCImageData::kMaxSide + 1, 1));
    EXPECT_FALSE(image.Create(4, 4, 32));
    EXPECT_EQ(image, before);

    ASSERT_TRUE(image.Create(5, 7));
    EXPECT_EQ(image.GetImageSize(), 5u * 7u * 3u);
    EXPECT_EQ(PixelAt(image, 4, 6), (Pixel{0, 0, 0}));
    EXPECT_TRUE(image.Create(BTCImageData::kMaxSide, 1));
    EXPECT_TRUE(image.Create(1, BTCImageData::kMaxSide));
}

TEST(ImageData, FillUsesRedInTheLowByteAndClipsToTheImage) {
    BTCImageData image;
    ASSERT_TRUE(image.Create(4, 3));
    image.Fill(-2, 1, 4, 10, 0x00FF00FFu); // magenta, partly outside
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool inside = x < 2 && y >= 1;
            EXPECT_EQ(PixelAt(image, x, y), (inside ? Pixel{0xFF, 0, 0xFF} : Pixel{0, 0, 0}))
                << x << "," << y;
        }
    }
    image.Fill(0, 0, 1, 1, 0x00123456u);
    EXPECT_EQ(PixelAt(image, 0, 0), (Pixel{0x12, 0x34, 0x56}));
    const BTCImageData before = image;
    image.Fill(4, 0, 3, 3, 0xFFFFFFu);
    image.Fill(0, -5, 4, 5, 0xFFFFFFu);
    EXPECT_EQ(image, before);
}

TEST(ImageData, CopyTakesTheRectangleOrRefusesOneOutsideTheSource) {
    const BTCImageData source = fixtures::MakeTexture(9, 7, 4);
    BTCImageData part;
    ASSERT_TRUE(part.Copy(source, 2, 3, 5, 4));
    ASSERT_EQ(part.GetWidth(), 5);
    ASSERT_EQ(part.GetHeight(), 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(PixelAt(part, x, y), PixelAt(source, x + 2, y + 3));
        }
    }
    const BTCImageData before = part;
    EXPECT_FALSE(part.Copy(source, 5, 0, 5, 1)); // one column too far right
    EXPECT_FALSE(part.Copy(source, 0, 4, 1, 4)); // one row too far down
    EXPECT_FALSE(part.Copy(source, -1, 0, 2, 2));
    EXPECT_FALSE(part.Copy(source, 0, 0, 0, 2));
    EXPECT_FALSE(part.Copy(BTCImageData(), 0, 0, 1, 1));
    EXPECT_EQ(part, before);
    ASSERT_TRUE(part.Copy(source, 0, 0, 9, 7));
    EXPECT_EQ(part, source);
}

TEST(ImageData, CombineDrawsOpaquelyAndClipsOnEverySide) {
    const BTCImageData stamp = fixtures::MakeTexture(3, 3, 9);
    for (const auto& [ox, oy] :
         {std::pair{0, 0}, std::pair{-1, -2}, std::pair{4, 3}, std::pair{-3, 0}, std::pair{5, 1}}) {
        BTCImageData canvas;
        ASSERT_TRUE(canvas.Create(5, 4));
        canvas.Fill(0, 0, 5, 4, 0x00ABCDEFu);
        canvas.Combine(stamp, ox, oy);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                const int sx = x - ox;
                const int sy = y - oy;
                const bool covered = sx >= 0 && sx < 3 && sy >= 0 && sy < 3;
                EXPECT_EQ(PixelAt(canvas, x, y),
                          (covered ? PixelAt(stamp, sx, sy) : Pixel{0xAB, 0xCD, 0xEF}))
                    << "offset " << ox << "," << oy << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(ImageData, FlipVerticalReversesTheRows) {
    for (int height : {1, 4, 5}) {
        const BTCImageData original = fixtures::MakeTexture(3, height, 2);
        BTCImageData flipped = original;
        flipped.FlipVertical();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(PixelAt(flipped, x, y), PixelAt(original, x, height - 1 - y));
            }
        }
        flipped.FlipVertical();
        EXPECT_EQ(flipped, original);
    }
}

TEST(ImageData, CopiesAreDeepAndMovesLeaveTheSourceEmpty) {
    BTCImageData original = fixtures::MakeTexture(4, 4, 5);
    BTCImageData copy = original;
    copy.Fill(0, 0, 4, 4, 0);
    EXPECT_EQ(original, fixtures::MakeTexture(4, 4, 5));

    BTCImageData target = fixtures::MakeTexture(2, 2, 1);
    target = std::move(original);
    EXPECT_FALSE(original.IsLoaded());
    EXPECT_EQ(original.GetImageSize(), 0u);
    EXPECT_EQ(target, fixtures::MakeTexture(4, 4, 5));
    target.DeleteObject();
    EXPECT_FALSE(target.IsLoaded());
}

} // namespace
