#include "document/TextureFileName.h"

#include "document/ObjectSlotNames.h"

namespace {

const char* PrefixOf(std::uint32_t slotId) {
    switch (slotId) {
    case kSkyGraphicsSlot:
        return "Sky_";
    case kDefaultSpritesSlot:
        return "Default_";
    case kMiscSpritesSlot:
        return "Misc_";
    case kFontGraphicsSlot:
        return "Font_";
    case kCustomSpritesSlot:
        return "Custom_";
    default:
        return "Texture_";
    }
}

} // namespace

std::string ProposedTextureFileName(std::uint32_t slotId, int line) {
    return PrefixOf(slotId) + std::to_string(line);
}
