#pragma once

#include <cstdint>
#include <cstdlib>

// One object of a sprite wad: a slot number and the run of textures it owns.
// The count is stored negated; a file whose counts are positive reads the same.
struct ObjectSequence {
    std::uint32_t slotId = 0;
    std::int16_t negCount = 0;
    std::uint16_t firstTexture = 0;

    int TextureCount() const { return std::abs(static_cast<int>(negCount)); }
    void SetTextureCount(int n) { negCount = static_cast<std::int16_t>(-n); }

    friend bool operator==(const ObjectSequence&, const ObjectSequence&) = default;
};
static_assert(sizeof(ObjectSequence) == 8, "ObjectSequence is an 8-byte file record");
