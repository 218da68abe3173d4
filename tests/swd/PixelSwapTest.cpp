#include "model/PixelSwap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The shuffled form works five pixels at a time with 16-byte loads and stores: every count
// must give the byte-by-byte result and touch no byte past the last pixel.
TEST(PixelSwap, FastFormMatchesTheByteByByteFormForEveryCount) {
    for (std::size_t pixels = 0; pixels <= 70; ++pixels) {
        std::vector<std::uint8_t> from(pixels * 3);
        for (std::size_t i = 0; i < from.size(); ++i) {
            from[i] = static_cast<std::uint8_t>(i * 7 + pixels);
        }
        std::vector<std::uint8_t> fast(pixels * 3 + 16, 0xA5), plain = fast;
        CopySwappingRedBlue(fast.data(), from.data(), pixels);
        CopySwappingRedBluePortable(plain.data(), from.data(), pixels);
        ASSERT_EQ(fast, plain) << pixels;
        ASSERT_EQ(plain.back(), 0xA5) << pixels;
    }
}

} // namespace
