#pragma once

#include "document/SpriteWad.h"

#include <cstddef>
#include <vector>

// What it takes to turn the document back after one edit: the object list as it was, and
// the run of textures the edit replaced. Every edit of the editor changes the object list
// and at most one contiguous run of m_textures (inserting at the end of a run, removing a
// run, replacing textures in place), so a change keeps only that run, never the whole
// document. An edit that only reorders textures keeps no pixels at all: it notes the rotation
// it made, which turns back by rotating the other way.
//
//   WadChange change = WadChange::Before(wad);
//   change.Keep(wad, at, count);   // the textures the edit is about to remove or replace
//   ... edit ...
//   change.After(wad);             // how many textures stand at `at` now
//   change.Swap(wad);              // undo; Swap again redoes, and so on
class WadChange {
public:
    // Remembers the object list; the edit will not touch m_textures (yet).
    static WadChange Before(const SpriteWad& wad);
    // The edit will remove or replace the `count` textures at `at` (count 0: it only
    // inserts at `at`). Copies them, since the edit may change them in place.
    void Keep(const SpriteWad& wad, std::size_t at, std::size_t count);
    // Instead of Keep, after an edit that only removed `textures` from `at`: takes them as
    // they are, without copying.
    void Removed(const SpriteWad& wad, std::size_t at, std::vector<SpriteTexture> textures);
    // Instead of Keep, after an edit that only did std::rotate(first, middle, last) on
    // m_textures (given as indices).
    void Rotated(std::size_t first, std::size_t middle, std::size_t last);
    // Notes how many textures the edit left at `at` in place of the kept ones.
    void After(const SpriteWad& wad);
    // Puts the other side of the change into the document and keeps the side taken out, so
    // calling it again restores what it replaced.
    void Swap(SpriteWad& wad);

    // Takes in `next`, an edit made right after this one that only inserted textures where the
    // run this one inserted ends (the next batch of the same job): undone, the two are one.
    void Append(const WadChange& next);

    // True when the edit changed neither the object list nor any texture count (nothing
    // was kept for replacement and nothing inserted).
    bool IsEmpty(const SpriteWad& wad) const;

    // Bytes of pixels the change holds.
    std::size_t PixelBytes() const;

private:
    std::vector<ObjectSequence> m_sequences;
    std::size_t m_at = 0;
    // How many textures the document holds at m_at in place of m_textures.
    std::size_t m_inDocument = 0;
    std::vector<SpriteTexture> m_textures;
    std::size_t m_totalBefore = 0;
    // The rotation that puts the other side in place; none while first == last.
    struct Rotation {
        std::size_t first = 0;
        std::size_t middle = 0;
        std::size_t last = 0;
    };
    Rotation m_rotation;
};
