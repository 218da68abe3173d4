#include "document/WadChange.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <utility>

WadChange WadChange::Before(const SpriteWad& wad) {
    WadChange change;
    change.m_sequences = wad.m_sequences;
    change.m_at = wad.TextureCount();
    change.m_totalBefore = wad.TextureCount();
    return change;
}

void WadChange::Keep(const SpriteWad& wad, std::size_t at, std::size_t count) {
    m_at = std::min(at, wad.TextureCount());
    count = std::min(count, wad.TextureCount() - m_at);
    const auto first = wad.m_textures.begin() + static_cast<std::ptrdiff_t>(m_at);
    m_textures.assign(first, first + static_cast<std::ptrdiff_t>(count));
    m_totalBefore = wad.TextureCount();
}

void WadChange::Removed(const SpriteWad& wad, std::size_t at, std::vector<SpriteTexture> textures) {
    m_at = std::min(at, wad.TextureCount());
    m_textures = std::move(textures);
    m_totalBefore = wad.TextureCount() + m_textures.size();
}

void WadChange::Rotated(std::size_t first, std::size_t middle, std::size_t last) {
    // The texture the edit took from `first` now stands where the rotated-in part ends.
    m_rotation = {first, first + (last - middle), last};
}

void WadChange::After(const SpriteWad& wad) {
    // Whatever the edit added or took away happened inside the kept run.
    m_inDocument = m_textures.size() + wad.TextureCount() - m_totalBefore;
}

void WadChange::Swap(SpriteWad& wad) {
    std::swap(m_sequences, wad.m_sequences);
    const auto first = wad.m_textures.begin() + static_cast<std::ptrdiff_t>(m_at);
    const auto last = first + static_cast<std::ptrdiff_t>(m_inDocument);
    std::vector<SpriteTexture> taken(std::make_move_iterator(first), std::make_move_iterator(last));
    const auto gap = wad.m_textures.erase(first, last);
    wad.m_textures.insert(gap, std::make_move_iterator(m_textures.begin()),
                          std::make_move_iterator(m_textures.end()));
    m_inDocument = m_textures.size();
    m_textures = std::move(taken);
    if (m_rotation.first != m_rotation.last) {
        const auto at = [&wad](std::size_t index) {
            return wad.m_textures.begin() + static_cast<std::ptrdiff_t>(index);
        };
        std::rotate(at(m_rotation.first), at(m_rotation.middle), at(m_rotation.last));
        m_rotation.middle = m_rotation.first + (m_rotation.last - m_rotation.middle);
    }
    // Pages and entries were built from the textures as they stood; they describe nothing now.
    wad.ClearScratch();
}

void WadChange::Append(const WadChange& next) {
    assert(next.m_textures.empty() && next.m_at == m_at + m_inDocument &&
           m_rotation.first == m_rotation.last);
    m_inDocument += next.m_inDocument;
}

bool WadChange::IsEmpty(const SpriteWad& wad) const {
    const bool rotates =
        m_rotation.middle != m_rotation.first && m_rotation.middle != m_rotation.last;
    return !rotates && m_textures.empty() && m_inDocument == 0 && m_sequences == wad.m_sequences;
}

std::size_t WadChange::PixelBytes() const {
    std::size_t bytes = 0;
    for (const SpriteTexture& texture : m_textures) {
        bytes += texture.GetImageSize();
    }
    return bytes;
}
