#include "support/ReferencePacker.h"

#include <algorithm>
#include <stdexcept>

namespace fixtures {

namespace {

constexpr int kSide = 256;

struct Rect {
    int x, y, w, h;
};
bool Free(const std::vector<Rect>& placed, const Rect& c) {
    return std::none_of(placed.begin(), placed.end(), [&c](const Rect& r) {
        return c.x < r.x + r.w && r.x < c.x + c.w && c.y < r.y + r.h && r.y < c.y + c.h;
    });
}

} // namespace

std::vector<SpriteEntry> ReferencePlacements(const std::vector<SpriteTexture>& textures) {
    std::vector<SpriteEntry> entries;
    std::vector<std::vector<Rect>> placed;
    for (const SpriteTexture& texture : textures) {
        const int w = texture.GetWidth();
        const int h = texture.GetHeight();
        if (w > kSide || h > kSide) {
            throw std::invalid_argument("reference packer: texture fits on no page");
        }
        const std::size_t before = entries.size();
        for (std::size_t page = 0; entries.size() == before; ++page) {
            placed.resize(std::max(placed.size(), page + 1));
            for (int y = 0; y + h <= kSide && entries.size() == before; ++y) {
                for (int x = 0; x + w <= kSide && entries.size() == before; ++x) {
                    if (Free(placed[page], {x, y, w, h})) {
                        placed[page].push_back({x, y, w, h});
                        entries.push_back(SpriteEntry::At(x, y, static_cast<int>(page), w, h));
                    }
                }
            }
        }
    }
    return entries;
}

ReferencePacking ReferencePack(const std::vector<SpriteTexture>& textures) {
    ReferencePacking out{{}, ReferencePlacements(textures)};
    for (std::size_t i = 0; i < textures.size(); ++i) {
        const SpriteEntry& e = out.entries[i];
        while (out.pages.size() <= e.page) {
            out.pages.emplace_back().Create(kSide, kSide);
        }
        const int w = textures[i].GetWidth();
        for (int row = 0; row < textures[i].GetHeight(); ++row) {
            std::copy_n(textures[i].GetBits() + row * w * 3, w * 3,
                        out.pages[e.page].GetBits() + ((e.y + row) * kSide + e.x) * 3);
        }
    }
    return out;
}

} // namespace fixtures
