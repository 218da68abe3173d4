#include "document/SpriteDescriptions.h"

#include "document/ObjectSlotNames.h"

namespace {

constexpr int kSkyDescriptions = 4;

} // namespace

std::optional<int> SpriteDescriptionIndex(std::uint32_t slotId, int line) {
    if (line < 0) {
        return std::nullopt;
    }
    if (slotId == kSkyGraphicsSlot && line < kSkyDescriptions) {
        return line;
    }
    if (slotId == kDefaultSpritesSlot && line < kSpriteDescriptionCount - kSkyDescriptions) {
        return kSkyDescriptions + line;
    }
    return std::nullopt;
}
