#include "document/SpriteDescriptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

TEST(SpriteDescriptions, TheSkysFourLinesThenTheDefaultSpritesThirtyThree) {
    constexpr int none = -9; // unlike any line or index
    const std::tuple<std::uint32_t, int, int> rows[] = {
        {460, 0, 0},   {460, 3, 3},     {460, 4, none}, {463, 0, 4},
        {463, 32, 36}, {463, 33, none}, {464, 0, none}, {460, -1, none}};
    for (const auto& [slot, line, index] : rows) {
        EXPECT_EQ(SpriteDescriptionIndex(slot, line).value_or(none), index) << slot << ' ' << line;
    }
}
