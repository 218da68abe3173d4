#pragma once

// A sprite wad keeps its textures on square pages of this many pixels a side, so no texture,
// split piece or resized texture may be larger: every other limit of that kind derives from it.
inline constexpr int kPageSide = 256;
