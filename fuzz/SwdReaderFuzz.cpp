// Any bytes given to the SWD reader: a refused file leaves the document alone; an accepted
// one holds valid runs and one texture per entry, and packs, writes and reads back to the
// same objects and pixels.
#include "FuzzCheck.h"
#include "formats/SwdFile.h"
#include "io/LittleEndian.h"
#include "packing/PackTextures.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using fuzzcheck::Require;

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

using io::LoadU32;

} // namespace

// Pages are 196 608 bytes of pixels each, where a changed byte finds nothing new: most
// mutations go to the part before the pages (version, counts, entries) or the part after
// them (object count and objects), whose length may change while the pages stay whole.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    if (size < 12 || seed % 4 == 0) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    const std::size_t entriesEnd = 8 + std::size_t{16} * LoadU32(data + 4);
    if (entriesEnd + 4 > size) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    const std::size_t pagesBegin = entriesEnd + 4;
    const std::size_t pagesEnd =
        pagesBegin + LoadU32(data + entriesEnd) / swd::kPageBytes * swd::kPageBytes;
    if (pagesEnd > size || size > maxSize) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    // The head is [0, pagesBegin), the tail [pagesEnd, size); the rest stays as it is.
    const bool head = seed % 2 == 0;
    const std::size_t from = head ? 0 : pagesEnd;
    const std::size_t length = head ? pagesBegin : size - pagesEnd;
    const std::size_t room = maxSize - (size - length);
    if (length == 0 || room == 0) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    std::vector<std::uint8_t> part(data + from, data + from + length);
    part.resize(room);
    part.resize(LLVMFuzzerMutate(part.data(), length, room));
    std::vector<std::uint8_t> out;
    if (head) {
        out = part;
        out.insert(out.end(), data + pagesBegin, data + size);
    } else {
        out.assign(data, data + pagesEnd);
        out.insert(out.end(), part.begin(), part.end());
    }
    std::memcpy(data, out.data(), out.size());
    return out.size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<ObjectSequence> held = {{494, -1, 0}};
    SpriteWad wad;
    wad.m_sequences = held;
    wad.m_textures.resize(1);
    wad.m_textures[0].Create(2, 3);
    const SpriteTexture heldTexture = wad.m_textures[0];
    swd::SwdFileInfo info;
    if (!swd::ReadSwd({data, size}, wad, &info).ok()) {
        Require(wad.m_sequences == held && wad.m_textures.size() == 1 &&
                    wad.m_textures[0] == heldTexture && wad.m_entries.empty() &&
                    wad.m_pages.empty(),
                "a refused file leaves the document as it was");
        return 0;
    }
    Require(wad.RunsAreValid(true), "a loaded wad has valid runs");
    Require(wad.m_textures.size() == info.entryCount, "one texture per entry");
    Require(wad.m_entries.empty() && wad.m_pages.empty(), "entries and pages go after loading");
    for (const SpriteTexture& texture : wad.m_textures) {
        Require(texture.IsLoaded() && texture.GetWidth() <= kPageSide &&
                    texture.GetHeight() <= kPageSide,
                "every texture fits on a page");
    }

    SpriteWad packed = wad;
    Require(PackTextures(packed).ok(), "a loaded wad packs");
    Require(packed.m_entries.size() == packed.m_textures.size(), "one entry per texture");
    SpriteWad back;
    Require(swd::ReadSwd(swd::SerializeSwd(packed), back).ok(), "a written wad reads back");
    Require(back.m_sequences == wad.m_sequences, "the same objects read back");
    Require(back.m_textures == wad.m_textures, "the same pixels read back");

    // A texture added to any object, empty ones inside other runs included, keeps runs apart.
    for (std::size_t object = 0; object < wad.ObjectCount(); ++object) {
        if (wad.AddTexture(object, heldTexture)) {
            Require(wad.RunsAreValid(true), "adding a texture keeps the runs apart");
        }
    }
    return 0;
}
