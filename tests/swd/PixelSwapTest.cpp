#include "model/PixelSwap.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The shuffled form works five pixels at a time with 16-byte loads and stores: every count
// must give the byte-by-byte result (which the reader tests check) and touch no byte past
// the last pixel.
TEST(PixelSwap, FastFormMatchesTheByteByByteFormForEveryCount) {
    std::mt19937 rng(7);
    for (std::size_t pixels = 0; pixels <= 70; ++pixels) {
        std::vector<std::uint8_t> from(pixels * 3);
        for (auto& b : from) {
            b = static_cast<std::uint8_t>(rng());
        }
        std::vector<std::uint8_t> fast(pixels * 3 + 16, 0xA5);
        std::vector<std::uint8_t> plain(pixels * 3 + 16, 0xA5);
        CopySwappingRedBlue(fast.data(), from.data(), pixels);
        CopySwappingRedBluePortable(plain.data(), from.data(), pixels);
        ASSERT_EQ(fast, plain) << pixels;
        for (std::size_t i = pixels * 3; i < plain.size(); ++i) {
            ASSERT_EQ(fast[i], 0xA5) << pixels;
        }
    }
}

} // namespace
