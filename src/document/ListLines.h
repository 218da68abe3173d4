#pragma once

#include "document/ObjectSequence.h"

#include <cstdint>
#include <string>

// "460: SKY_GRAPHICS  Textures=4"
std::string FormatObjectLine(std::uint32_t slotId, int textureCount);
std::string FormatObjectLine(const ObjectSequence& sequence);
// "Texture 0 :  (64 x 64)"
std::string FormatTextureLine(int line, int width, int height);
