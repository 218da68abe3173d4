#pragma once

#include "document/SpriteWad.h"

#include <vector>

namespace fixtures {

// The placement rule written out plainly, to check the fast packer against: for each texture,
// pages from 0 upward, on a page every position row by row, each tested against every
// rectangle already there, a new page when it fits nowhere. One entry per texture.
std::vector<SpriteEntry> ReferencePlacements(const std::vector<SpriteTexture>& textures);

struct ReferencePacking {
    std::vector<TexturePage> pages;
    std::vector<SpriteEntry> entries;
};

// ReferencePlacements, and black pages with each texture copied pixel by pixel to its entry.
ReferencePacking ReferencePack(const std::vector<SpriteTexture>& textures);

} // namespace fixtures
