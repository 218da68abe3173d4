#include "packing/TexturePacker.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {
// An entry names its page in 16 bits.
constexpr int kMaxPageIndex = std::numeric_limits<std::uint16_t>::max();
} // namespace

TexturePacker::TexturePacker(SpriteWad& wad) : m_wad(wad) {
    m_wad.ClearScratch();
}

int TexturePacker::AddPage() {
    TexturePage page;
    page.Create(kPageSide, kPageSide);
    m_wad.m_pages.push_back(std::move(page));
    m_occupancy.emplace_back();
    return PageCount() - 1;
}

int TexturePacker::FirstPageWorthTrying(const SpriteTexture& texture, int from) const {
    const int width = texture.GetWidth();
    const int height = texture.GetHeight();
    if (width < 1 || height < 1 || width > kPageSide || height > kPageSide) {
        return std::max(from, 0);
    }
    int page = std::max(from, 0);
    while (page < PageCount() && m_occupancy[page].KnownMisfit(width, height)) {
        ++page;
    }
    return page;
}

bool TexturePacker::PlaceTexture(const SpriteTexture& texture, int page) {
    const int width = texture.GetWidth();
    const int height = texture.GetHeight();
    if (page < 0 || page >= PageCount() || page > kMaxPageIndex || !texture.IsLoaded() ||
        width > kPageSide || height > kPageSide) {
        return false;
    }
    const auto spot = m_occupancy[page].FindFree(width, height);
    if (!spot) {
        return false;
    }
    m_occupancy[page].Occupy(spot->x, spot->y, width, height);
    m_wad.m_pages[page].Combine(texture, spot->x, spot->y);

    m_wad.m_entries.push_back(SpriteEntry::At(spot->x, spot->y, page, width, height));
    return true;
}
