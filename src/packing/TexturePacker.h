#pragma once

#include "document/SpriteWad.h"
#include "packing/PageOccupancy.h"

#include <deque>

// Lays textures onto fresh pages of a wad one at a time: draws each onto its page and
// appends its entry. It keeps, per page, the taken area that the entries so far describe.
class TexturePacker {
public:
    // Empties the wad's pages and entries: packing always starts from nothing.
    explicit TexturePacker(SpriteWad& wad);

    int PageCount() const { return static_cast<int>(m_occupancy.size()); }
    // Appends a black page and returns its index.
    int AddPage();
    // Places the texture at the first free position of the page (smallest row, then
    // smallest column), draws it there and appends its entry. Returns false, changing
    // nothing, when it does not fit there, has no pixels, is larger than a page, or the page
    // does not exist or lies beyond what an entry can name.
    bool PlaceTexture(const SpriteTexture& texture, int page);
    // The first page from `from` on where PlaceTexture could still succeed, or PageCount():
    // it passes over the pages where an earlier search already showed that the texture's
    // size no longer fits, without searching them again.
    int FirstPageWorthTrying(const SpriteTexture& texture, int from) const;

private:
    SpriteWad& m_wad;
    // A deque, so that opening a page never moves the others.
    std::deque<PageOccupancy> m_occupancy;
};
