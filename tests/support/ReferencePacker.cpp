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

ReferencePacking ReferencePack(const std::vector<SpriteTexture>& textures) {
    ReferencePacking out;
    std::vector<std::vector<Rect>> placed;
    for (const SpriteTexture& texture : textures) {
        const int w = texture.GetWidth();
        const int h = texture.GetHeight();
        if (w < 1 || h < 1 || w > kSide || h > kSide) {
            throw std::invalid_argument("reference packer: texture fits on no page");
        }
        bool done = false;
        for (std::size_t page = 0; !done; ++page) {
            if (page == placed.size()) {
                placed.emplace_back();
                out.pages.emplace_back().Create(kSide, kSide);
            }
            for (int y = 0; y + h <= kSide && !done; ++y) {
                for (int x = 0; x + w <= kSide && !done; ++x) {
                    if (!Free(placed[page], {x, y, w, h})) {
                        continue;
                    }
                    placed[page].push_back({x, y, w, h});
                    out.entries.push_back(SpriteEntry::At(x, y, static_cast<int>(page), w, h));
                    for (int row = 0; row < h; ++row) {
                        std::copy_n(texture.GetBits() + row * w * 3, w * 3,
                                    out.pages[page].GetBits() + ((y + row) * kSide + x) * 3);
                    }
                    done = true;
                }
            }
        }
    }
    return out;
}

} // namespace fixtures
