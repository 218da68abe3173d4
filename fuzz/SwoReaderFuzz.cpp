// The SWO reader on any bytes: a refused file leaves the object it was given alone; an accepted
// one holds textures a page can take, and writes back to bytes that read to the same object.
#include "FuzzCheck.h"
#include "formats/SwoFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using fuzzcheck::Require;
    swo::SwoObject object;
    object.slotId = 4242;
    object.textures.resize(1);
    object.textures[0].Create(3, 2);
    const swo::SwoObject untouched = object;
    const Status read = swo::DecodeSwo({data, size}, object);
    if (!read.ok()) {
        Require(!read.message().empty(), "a refusal says why");
        Require(object.slotId == untouched.slotId && object.textures == untouched.textures,
                "a refused file changes nothing");
        return 0;
    }
    for (const SpriteTexture& texture : object.textures) {
        Require(texture.IsLoaded() && texture.GetWidth() <= kPageSide &&
                    texture.GetHeight() <= kPageSide,
                "every texture fits a page");
    }
    if (object.textures.empty()) {
        return 0;
    }
    SpriteWad wad;
    wad.AddObject(object.slotId);
    for (SpriteTexture& texture : object.textures) {
        Require(wad.AddTexture(0, texture), "an object file's textures fit one object");
    }
    std::vector<std::uint8_t> bytes;
    Require(swo::EncodeSwo(wad, 0, bytes).ok(), "a read object writes");
    swo::SwoObject again;
    Require(swo::DecodeSwo(bytes, again).ok(), "a written object reads");
    Require(again.slotId == object.slotId && again.textures == wad.m_textures,
            "written and read back, the object is the same");
    return 0;
}
