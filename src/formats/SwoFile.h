#pragma once

#include "document/SpriteWad.h"
#include "io/Status.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// SWO object files: one object's id and textures, each texture's pixels compressed with zlib.
//
// Layout (little-endian, no padding): "SWDO", u16 id (the low 16 bits), u16 count N, then N
// records of u8 width - 1, u8 height - 1, u32 U, u32 Z and Z bytes of one zlib stream that
// inflates to U bytes of B,G,R pixels, top row first. Rows are written padded to a multiple of
// 4 bytes; a reader takes its row length from U / height, so tightly packed rows load too.
namespace swo {

// Exactly the texts the editor shows.
inline constexpr const char* kWrongMagicMessage =
    "this isn't a Sprite Wad Object file, or it's a different version or type of file...";
inline constexpr const char* kFilter = "Sprite Wad Objects (*.swo)";

// What an SWO file holds.
struct SwoObject {
    std::uint16_t slotId = 0;
    std::vector<SpriteTexture> textures;
    bool operator==(const SwoObject&) const = default;
};

// "Object 460: SKY_GRAPHICS doesn't have any textures,\n add some first and try again..."
std::string NoTexturesMessage(std::uint32_t slotId);
// The file name offered for an export: "SKY_GRAPHICS_4sprites".
std::string ProposedFileName(std::uint32_t slotId, int textureCount);

// The file's bytes for object `object` of the wad. An object without textures is Refused
// (NoTexturesMessage); a texture zlib cannot compress fails with WriteFailed, nothing written.
Status EncodeSwo(const SpriteWad& wad, std::size_t object, std::vector<std::uint8_t>& bytes);
// Encodes and writes atomically: an existing file is replaced only by a complete new one.
Status WriteSwoFile(const std::string& path, const SpriteWad& wad, std::size_t object);

// Checks the whole file and decodes every texture. `out` is replaced only when all of it is
// sound; on any failure it is left exactly as it was. Fails with WrongFormat
// (kWrongMagicMessage), Damaged (naming the record and what is wrong), TooLarge or OpenFailed.
Status DecodeSwo(std::span<const std::uint8_t> bytes, SwoObject& out);
Status ReadSwoFile(const std::string& path, SwoObject& out);

} // namespace swo
