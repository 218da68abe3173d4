#include "formats/SwdFile.h"

#include "formats/PixelSwap.h"
#include "io/AtomicFileWriter.h"
#include "io/LittleEndian.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <system_error>

namespace swd {
namespace {

void PutU16(std::uint8_t*& p, std::uint16_t v) {
    io::StoreU16(p, v);
    p += 2;
}

void PutU32(std::uint8_t*& p, std::uint32_t v) {
    io::StoreU32(p, v);
    p += 4;
}

} // namespace

std::vector<std::uint8_t> SerializeSwd(const SpriteWad& wad) {
    const std::size_t size = 16 + wad.m_entries.size() * kEntryBytes +
                             wad.m_pages.size() * kPageBytes +
                             wad.m_sequences.size() * kSequenceBytes;
    // Filled with 0xFF: a page image smaller than a whole page leaves the rest of its block so.
    std::vector<std::uint8_t> bytes(size, 0xFF);
    std::uint8_t* p = bytes.data();

    PutU32(p, kVersion);
    PutU32(p, static_cast<std::uint32_t>(wad.m_entries.size()));
    for (const SpriteEntry& e : wad.m_entries) {
        *p++ = e.x;
        *p++ = e.y;
        PutU16(p, e.page);
        *p++ = e.reserved4;
        *p++ = e.widthMinusOne;
        *p++ = e.reserved6;
        *p++ = e.heightMinusOne;
        PutU32(p, e.reserved8);
        PutU32(p, e.reserved12);
    }

    PutU32(p, static_cast<std::uint32_t>(wad.m_pages.size() * kPageBytes));
    for (const TexturePage& page : wad.m_pages) {
        const std::size_t used = std::min(page.GetImageSize(), kPageBytes);
        CopySwappingRedBlue(p, page.GetBits(), used / 3);
        std::memcpy(p + used / 3 * 3, page.GetBits() + used / 3 * 3, used % 3);
        p += kPageBytes;
    }

    PutU32(p, static_cast<std::uint32_t>(wad.m_sequences.size()));
    for (const ObjectSequence& s : wad.m_sequences) {
        PutU32(p, s.slotId);
        PutU16(p, static_cast<std::uint16_t>(s.negCount));
        PutU16(p, s.firstTexture);
    }
    return bytes;
}

Status WriteSwdFile(const std::string& path, const SpriteWad& wad) {
    const auto refused = [&path](const std::string& why) {
        return Status::Failed(Fault::WriteFailed, "Cannot write the file \"" + path + "\": " + why);
    };
    // Counts the format cannot state, or that no reader would accept, are refused before
    // anything is touched on disk.
    if (wad.m_entries.size() > kMaxEntries) {
        return refused("the sprite wad holds " + std::to_string(wad.m_entries.size()) +
                       " sprites, more than " + std::to_string(kMaxEntries));
    }
    if (wad.m_pages.size() > std::numeric_limits<std::uint32_t>::max() / kPageBytes) {
        return refused("the sprite wad holds too many pages (" +
                       std::to_string(wad.m_pages.size()) + ")");
    }
    try {
        const std::vector<std::uint8_t> bytes = SerializeSwd(wad);
        return WriteFileAtomically(path, bytes);
    } catch (const std::bad_alloc&) {
        return refused(std::make_error_code(std::errc::not_enough_memory).message());
    }
}

} // namespace swd
