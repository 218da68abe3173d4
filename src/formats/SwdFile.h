#pragma once

#include "document/SpriteWad.h"
#include "io/Status.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Reading and writing SWD sprite wads.
//
// Layout (little-endian, no padding): u32 version (129), u32 E, E x 16-byte SpriteEntry,
// u32 D, D / kPageBytes whole pages of kPageSide x kPageSide R,G,B pixels, u32 S, S x 8-byte
// ObjectSequence. Pixels are R,G,B in the file and B,G,R in memory.
namespace swd {

inline constexpr std::uint32_t kVersion = 129;
inline constexpr std::size_t kPageBytes = std::size_t{kPageSide} * kPageSide * 3;
inline constexpr std::size_t kEntryBytes = 16;
inline constexpr std::size_t kSequenceBytes = 8;
// A sprite number is what a 16-bit first index plus a count can reach; more entries than
// this cannot all belong to objects.
inline constexpr std::uint32_t kMaxEntries = 65536;
// The most memory a loaded wad may take for its textures' pixels and its object records.
// Sprites may overlap or repeat one rectangle, so the pages do not bound this; a file that
// would need more is refused before anything is allocated for it.
inline constexpr std::uint64_t kMaxDocumentBytes = std::uint64_t{2} << 30;

// Exactly the text the editor shows for a file of another version or kind.
inline constexpr const char* kWrongVersionMessage =
    "This file isn't a Tomb Raider Sprite Wad file or it's a different version or type of "
    "file...";

// What a file states about itself, as read: filled as far as the file could be parsed, also
// when reading fails later on (pageCount is D / 196608 rounded down).
struct SwdFileInfo {
    std::uint32_t version = 0;
    std::uint32_t entryCount = 0;
    std::uint32_t pageCount = 0;
    std::uint32_t sequenceCount = 0;
    // Bytes after the last object sequence, which the reader ignores.
    std::uint64_t trailingBytes = 0;
    // Set when the header says 0 sprites but exactly this many follow it, making the rest
    // of the file a consistent wad: ReadOptions::recoverZeroCount loads them.
    std::uint32_t recoverableEntryCount = 0;
};

struct ReadOptions {
    // Loads a file whose header says 0 sprites as the wad that follows it, when exactly one
    // sprite count fits; without it such a file is refused.
    bool recoverZeroCount = false;
};

// Reading fails with WrongFormat (kWrongVersionMessage), Damaged ("This sprite wad is
// damaged: ..."), TooLarge (more than kMaxDocumentBytes, or out of memory) or OpenFailed.
// Parses an SWD file into a fresh document: the sprites are cut out of their pages into
// m_textures, m_entries and m_pages are left empty. `out` is replaced only when the whole file
// is valid; on any failure it is left exactly as it was. A file is read part by part as the
// parser reaches it; pages that no sprite uses are never read.
Status ReadSwd(std::span<const std::uint8_t> bytes, SpriteWad& out, SwdFileInfo* info = nullptr,
               const ReadOptions& options = {});
Status ReadSwdFile(const std::string& path, SpriteWad& out, SwdFileInfo* info = nullptr,
                   const ReadOptions& options = {});

// The first object of a wad and the first `limit` of its textures, for a picture of the file:
// reads the header, the counts, the first object record, the entries of those sprites and the
// pages they lie on, nothing else. The stated counts must fit the file's length and what is
// read must be sound; the rest of the file is not judged.
struct FirstObjectPreview {
    bool hasObject = false;
    std::uint32_t slotId = 0;
    // All of the object's textures, of which `textures` holds the first ones; 0 when the wad
    // has no objects.
    std::size_t textureCount = 0;
    std::vector<SpriteTexture> textures;
};
Status ReadFirstObjectPreview(const std::string& path, std::size_t limit, FirstObjectPreview& out);

// Serialises m_entries, m_pages and m_sequences as they stand (the packer fills the first two).
std::vector<std::uint8_t> SerializeSwd(const SpriteWad& wad);
// Writes the file atomically: a temporary file beside the target is written in full, flushed
// and then renamed over the target, so a failure never leaves a half-written file behind.
Status WriteSwdFile(const std::string& path, const SpriteWad& wad);

} // namespace swd
