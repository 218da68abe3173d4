#pragma once

#include "document/SpriteWad.h"
#include "io/Status.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

// Hooks through which a save job drives and watches the packer.
struct PackCallbacks {
    // Packing goes on while this flag is non-zero; null means it always goes on. It is read
    // afresh before every placement attempt and after every texture.
    const std::atomic<int>* running = nullptr;
    // After texture `index` (from 0) of `total` has been placed.
    std::function<void(std::size_t index, std::size_t total)> progress;
    // After a texture was drawn onto page `page` of wad.m_pages.
    std::function<void(int page)> pageChanged;
};

// Rebuilds wad.m_pages and wad.m_entries from wad.m_textures. Every texture, in order, tries
// the pages from page 0 and takes the first free position in row-major order (smallest row,
// then smallest column); a new black page is opened only when it fits on none. Entry i
// describes texture i. A texture without pixels or larger than a page stops packing (Refused)
// instead of opening pages without end; the textures are checked before anything is
// touched, so then m_pages and m_entries are as they were and no callback was called.
// A cleared `running` flag ends it with Cancelled. Without textures no page is opened.
Status PackTextures(SpriteWad& wad, const PackCallbacks& callbacks = {});
