#include "app/QtImage.h"

#include <gtest/gtest.h>

// Only pixels of exactly 0xFF00FF turn into the light grey checkerboard; near misses stay.
TEST(MagentaPreview, OnlyExactMagentaBecomesTheLightCheckerboard) {
    BTCImageData texture;
    texture.Create(16, 2);
    texture.Fill(0, 0, 16, 1, 0xFF00FF);
    const std::uint32_t nearMisses[] = {0xFE00FF, 0xFF01FF, 0xFF00FE, 0x123456};
    for (int i = 0; i < 4; ++i) {
        texture.Fill(i, 1, 1, 1, nearMisses[i]);
    }
    EXPECT_EQ(ToPreviewImage(texture, false), ToQImage(texture));
    const QImage shown = ToPreviewImage(texture, true);
    EXPECT_EQ(shown.copy(0, 1, 16, 1), ToQImage(texture).copy(0, 1, 16, 1));
    EXPECT_NE(shown.pixel(0, 0), shown.pixel(8, 0)) << "neighbouring cells alternate";
}
