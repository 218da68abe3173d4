#pragma once

#include "document/ObjectSequence.h"
#include "document/SpriteEntry.h"
#include "pixels/BTCImageData.h"
#include "pixels/PageSide.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

using TexturePage = BTCImageData;
using SpriteTexture = BTCImageData;

// The document: everything an SWD file holds. m_sequences and m_textures are the content;
// m_entries and m_pages are the file's own layout, filled only while a file is read or
// written (the packer rebuilds them on every save).
//
// Object k owns the run of textures firstTexture .. firstTexture + count - 1. The operations
// below keep the runs disjoint and in step when textures and objects come and go.
class SpriteWad {
public:
    // A first index is 16 bits wide: beyond this many textures a new object or a shifted
    // empty object could no longer say where its run starts.
    static constexpr std::size_t kMaxTextures = 65535;
    // A count is stored negated in 16 signed bits.
    static constexpr int kMaxObjectTextures = 32767;

    std::vector<SpriteEntry> m_entries;
    std::vector<ObjectSequence> m_sequences;
    std::vector<TexturePage> m_pages;
    std::vector<SpriteTexture> m_textures;

    bool operator==(const SpriteWad&) const = default;
    void Clear();
    void ClearScratch();

    std::size_t ObjectCount() const { return m_sequences.size(); }
    std::size_t TextureCount() const { return m_textures.size(); }
    std::optional<std::size_t> FindObject(std::uint32_t slotId) const;
    std::uint32_t ObjectSlot(std::size_t object) const { return m_sequences.at(object).slotId; }
    // How many lines the object shows: its count, as far as the wad holds its textures.
    int ObjectTextureCount(std::size_t object) const;
    // Texture `line` of object `object` (line counted from 0 inside the object's run).
    const SpriteTexture& ObjectTexture(std::size_t object, int line) const;
    SpriteTexture& ObjectTexture(std::size_t object, int line);

    // Appends texture to the end of the object's run; later runs move up by one, and empty
    // objects that start where this run starts move behind it. Returns false, changing
    // nothing, when the object or the wad is full.
    bool AddTexture(std::size_t object, SpriteTexture texture);
    // AddTexture for each of `textures` in turn until the object or the wad is full, moving
    // the textures behind the run once for all; returns how many went in (taken from the
    // front of `textures`).
    std::size_t AddTextures(std::size_t object, std::vector<SpriteTexture>& textures);
    // Where AddTexture puts the object's next texture in m_textures.
    std::size_t AppendPosition(std::size_t object) const;
    // Removes texture `line` of the object and hands it back; later runs move down by one.
    // An empty object that starts where this run starts stays where it is. Nothing changes,
    // and nothing comes back, when there is no such line.
    std::optional<SpriteTexture> RemoveTexture(std::size_t object, int line);
    // Puts texture in place of texture `line` of the object and hands back the one it
    // replaced; counts and first indices stay. Nothing changes when there is no such line.
    std::optional<SpriteTexture> ReplaceTexture(std::size_t object, int line,
                                                SpriteTexture texture);
    // Removes the object and its whole run; later runs move down by the run's length.
    void RemoveObject(std::size_t object);
    // Places a new empty object: 460 at position 0; 463 at position 1 when a 460 object
    // exists, else 0; both start at texture 0. Every other slot goes to the end and starts
    // at the current number of textures. Returns its position, or nothing when the wad
    // holds too many textures for a new first index.
    std::optional<std::size_t> AddObject(std::uint32_t slotId);
    // Puts a new empty object at the end, whatever its slot, as AddObject places the others.
    std::optional<std::size_t> AppendObject(std::uint32_t slotId);

    // True when every run lies inside m_textures, no two non-empty runs overlap and no empty
    // object starts inside another object's run. Files may hold empty objects inside runs
    // (AddTexture moves such an object behind the run first); `allowEmptyInsideRuns` accepts
    // them.
    bool RunsAreValid(bool allowEmptyInsideRuns = false) const;
};
