#pragma once

#include "pixels/BTCImageData.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture of an object's textures for file managers: the textures in a square grid in line
// order, each centred in its cell and shrunk by the smallest whole factor that fits it (never
// enlarged), exact magenta shown as the preview's light checkerboard, the rest transparent.
namespace thumbnail {

// The most textures a picture shows (an 8 x 8 grid); an object's later textures are left out,
// so that only these need to be read.
inline constexpr std::size_t kMaxShown = 64;
inline constexpr int kMinSize = 8;
inline constexpr int kMaxSize = 4096;

struct Picture {
    int width = 0;
    int height = 0;
    // Red, green, blue, alpha; rows from the top.
    std::vector<std::uint8_t> rgba;
};

// At most `size` x `size` (kMinSize to kMaxSize) and no larger than the grid needs; draws the
// first kMaxShown textures. No textures give an empty picture.
Picture DrawGrid(const std::vector<BTCImageData>& textures, int size);

} // namespace thumbnail
