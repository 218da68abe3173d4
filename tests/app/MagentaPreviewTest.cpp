#include "app/QtImage.h"

#include <gtest/gtest.h>

// Only pixels of exactly 0xFF00FF turn into the checkerboard; a near miss stays as it is.
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
    for (int x = 0; x < 16; ++x) {
        const QRgb cell = shown.pixel(x, 0);
        EXPECT_EQ(qRed(cell), qGreen(cell)) << x;
        EXPECT_EQ(qGreen(cell), qBlue(cell)) << x;
        EXPECT_GE(qRed(cell), 0xC0) << x;
    }
    EXPECT_NE(shown.pixel(0, 0), shown.pixel(8, 0)) << "neighbouring cells alternate";
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t c = nearMisses[i];
        EXPECT_EQ(shown.pixel(i, 1),
                  qRgb(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF),
                       static_cast<int>(c >> 16 & 0xFF)));
    }
}
