#include "support/ReferencePacker.h"

#include <stdexcept>

namespace fixtures {

namespace {

constexpr int kSide = 256;

struct Rect {
    int x, y, w, h;
};

bool Overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool Place(std::vector<Rect>& placed, int w, int h, Rect& where) {
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (x + w > kSide || y + h > kSide) {
                continue;
            }
            const Rect candidate{x, y, w, h};
            bool free = true;
            for (const Rect& r : placed) {
                if (Overlap(candidate, r)) {
                    free = false;
                    break;
                }
            }
            if (free) {
                placed.push_back(candidate);
                where = candidate;
                return true;
            }
        }
    }
    return false;
}

} // namespace

std::vector<SpriteEntry> ReferencePlacements(const std::vector<SpriteTexture>& textures) {
    std::vector<SpriteEntry> entries;
    std::vector<std::vector<Rect>> placed;
    for (const SpriteTexture& texture : textures) {
        const int w = texture.GetWidth();
        const int h = texture.GetHeight();
        if (w < 1 || h < 1 || w > kSide || h > kSide) {
            throw std::invalid_argument("reference packer: texture fits on no page");
        }
        for (std::size_t page = 0;; ++page) {
            if (page == placed.size()) {
                placed.emplace_back();
            }
            Rect where{};
            if (Place(placed[page], w, h, where)) {
                entries.push_back(SpriteEntry::At(where.x, where.y, static_cast<int>(page), w, h));
                break;
            }
        }
    }
    return entries;
}

ReferencePacking ReferencePack(const std::vector<SpriteTexture>& textures) {
    ReferencePacking out;
    out.entries = ReferencePlacements(textures);
    for (std::size_t i = 0; i < textures.size(); ++i) {
        const SpriteEntry& e = out.entries[i];
        while (out.pages.size() <= e.page) {
            TexturePage blank;
            blank.Create(kSide, kSide);
            out.pages.push_back(blank);
        }
        const SpriteTexture& texture = textures[i];
        TexturePage& target = out.pages[e.page];
        const int w = texture.GetWidth();
        for (int row = 0; row < texture.GetHeight(); ++row) {
            for (int col = 0; col < w * 3; ++col) {
                target.GetBits()[(e.y + row) * kSide * 3 + e.x * 3 + col] =
                    texture.GetBits()[row * w * 3 + col];
            }
        }
    }
    return out;
}

} // namespace fixtures
