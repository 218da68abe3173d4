#pragma once

#include <cstdint>

// Exact magenta marks the parts of a sprite that the game leaves out. Where a picture of a
// sprite shows them as transparent, they become a light checkerboard of 8-pixel squares.
namespace checkerboard {

inline constexpr int kSquare = 8;

// For a pixel stored blue, green, red.
inline bool IsMagenta(const std::uint8_t* bgr) {
    return bgr[0] == 0xFF && bgr[1] == 0 && bgr[2] == 0xFF;
}

// The grey level of the checkerboard at (x, y) of the picture.
inline std::uint8_t Level(int x, int y) {
    return (x / kSquare + y / kSquare) % 2 == 0 ? 0xFF : 0xCC;
}

} // namespace checkerboard
