#include "document/ListLines.h"

#include "document/ObjectSlotNames.h"

#include <cstdio>

ObjectLineParts SplitObjectLine(std::uint32_t slotId, int textureCount) {
    // Slot numbers are unsigned: a huge one read from a file shows as itself, not negative.
    return {std::to_string(slotId) + ": ", LookupSlotName(slotId),
            "  Textures=" + std::to_string(textureCount)};
}

std::string FormatObjectLine(std::uint32_t slotId, int textureCount) {
    const ObjectLineParts parts = SplitObjectLine(slotId, textureCount);
    return parts.head + parts.name + parts.tail;
}

std::string FormatObjectLine(const ObjectSequence& sequence) {
    return FormatObjectLine(sequence.slotId, sequence.TextureCount());
}

std::string FormatTextureLine(int line, int width, int height) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Texture %d :  (%d x %d)", line, width, height);
    return buffer;
}
