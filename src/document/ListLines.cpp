#include "document/ListLines.h"

#include "document/ObjectSlotNames.h"

#include <cstdio>

std::string FormatObjectLine(std::uint32_t slotId, int textureCount) {
    // Slot numbers are unsigned: a huge one read from a file shows as itself, not negative.
    const std::string name = LookupSlotName(slotId);
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%u: %s  Textures=%d", slotId, name.c_str(), textureCount);
    return buffer;
}

std::string FormatObjectLine(const ObjectSequence& sequence) {
    return FormatObjectLine(sequence.slotId, sequence.TextureCount());
}

std::string FormatTextureLine(int line, int width, int height) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Texture %d :  (%d x %d)", line, width, height);
    return buffer;
}
