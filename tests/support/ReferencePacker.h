#pragma once

#include "model/SpriteWad.h"

#include <vector>

namespace fixtures {

// The placement rule written out as plainly as possible, to check the fast packer against:
// for every texture (1..256 a side), pages from 0 upward; on a page, every position row by row
// and column by column, each tested against every rectangle already there; a new page when it
// fits nowhere. Returns one entry per texture.
std::vector<SpriteEntry> ReferencePlacements(const std::vector<SpriteTexture>& textures);

struct ReferencePacking {
    std::vector<TexturePage> pages;
    std::vector<SpriteEntry> entries;
};

// ReferencePlacements, and black pages with every texture copied pixel by pixel where its
// entry says.
ReferencePacking ReferencePack(const std::vector<SpriteTexture>& textures);

} // namespace fixtures
