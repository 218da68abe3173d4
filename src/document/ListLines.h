#pragma once

#include "document/ObjectSequence.h"

#include <cstdint>
#include <string>

// "460: SKY_GRAPHICS  Textures=4"
std::string FormatObjectLine(std::uint32_t slotId, int textureCount);
std::string FormatObjectLine(const ObjectSequence& sequence);
// The same line in three parts, "460: ", "SKY_GRAPHICS" and "  Textures=4", for a list too
// narrow for it that shortens the name alone.
struct ObjectLineParts {
    std::string head;
    std::string name;
    std::string tail;
};
ObjectLineParts SplitObjectLine(std::uint32_t slotId, int textureCount);
// "Texture 0 :  (64 x 64)"
std::string FormatTextureLine(int line, int width, int height);
