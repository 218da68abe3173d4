#pragma once

#include <cstdint>

// Where one sprite lies on a texture page. The same 16 bytes in memory and in an SWD file.
struct SpriteEntry {
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    std::uint16_t page = 0;
    std::uint8_t reserved4 = 0;
    std::uint8_t widthMinusOne = 0;
    std::uint8_t reserved6 = 0;
    std::uint8_t heightMinusOne = 0;
    std::uint32_t reserved8 = 0;
    std::uint32_t reserved12 = 0;

    // A sprite of width x height (1..256 each) at (x, y) of page `page`; reserved fields 0.
    static SpriteEntry At(int x, int y, int page, int width, int height) {
        SpriteEntry e;
        e.x = static_cast<std::uint8_t>(x);
        e.y = static_cast<std::uint8_t>(y);
        e.page = static_cast<std::uint16_t>(page);
        e.widthMinusOne = static_cast<std::uint8_t>(width - 1);
        e.heightMinusOne = static_cast<std::uint8_t>(height - 1);
        return e;
    }

    int Width() const { return widthMinusOne + 1; }
    int Height() const { return heightMinusOne + 1; }

    friend bool operator==(const SpriteEntry&, const SpriteEntry&) = default;
};
static_assert(sizeof(SpriteEntry) == 16, "SpriteEntry is a 16-byte file record");
