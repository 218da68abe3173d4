#pragma once

#include <cstdint>
#include <string>

// The file name Export Texture proposes for texture `line` of an object: a prefix by slot
// ("Sky_", "Default_", "Misc_", "Font_", "Custom_", else "Texture_") and the line number.
std::string ProposedTextureFileName(std::uint32_t slotId, int line);
