#include "packing/PackTextures.h"

#include "packing/TexturePacker.h"

#include <string>
#include <vector>

namespace {

// Every texture gets its own page at worst, and an entry names its page in 16 bits.
constexpr std::size_t kMaxPackableTextures = 65536;

bool Running(const PackCallbacks& callbacks) {
    return callbacks.running == nullptr || callbacks.running->load() != 0;
}

// Checked before anything is touched, so that a set that cannot be packed fails at once
// rather than after half the pages were built; it also guarantees that every texture fits
// on a fresh page, which is what ends the search over pages.
Status FindUnpackable(const std::vector<SpriteTexture>& textures) {
    if (textures.size() > kMaxPackableTextures) {
        return Status::Failed(Fault::Refused, "There are " + std::to_string(textures.size()) +
                                                  " textures, more than the " +
                                                  std::to_string(kMaxPackableTextures) +
                                                  " a sprite wad can hold");
    }
    for (std::size_t i = 0; i < textures.size(); ++i) {
        const SpriteTexture& texture = textures[i];
        if (!texture.IsLoaded()) {
            return Status::Failed(Fault::Refused,
                                  "Null Bitmap: texture " + std::to_string(i) + " has no pixels");
        }
        if (texture.GetWidth() > kPageSide || texture.GetHeight() > kPageSide) {
            const std::string page = std::to_string(kPageSide);
            return Status::Failed(Fault::Refused, "Texture " + std::to_string(i) + " is " +
                                                      std::to_string(texture.GetWidth()) + " x " +
                                                      std::to_string(texture.GetHeight()) +
                                                      ", larger than a " + page + " x " + page +
                                                      " page");
        }
    }
    return {};
}

} // namespace

Status PackTextures(SpriteWad& wad, const PackCallbacks& callbacks) {
    if (Status problem = FindUnpackable(wad.m_textures); !problem) {
        return problem;
    }
    TexturePacker packer(wad);
    const std::size_t total = wad.m_textures.size();
    for (std::size_t i = 0; i < total && Running(callbacks); ++i) {
        const SpriteTexture& texture = wad.m_textures[i];
        // Every texture starts again at page 0: a small one may fill a gap on an early page.
        for (int page = 0; Running(callbacks); ++page) {
            // Pages where this size is already known not to fit are passed over at once:
            // trying them would fail without changing anything.
            page = packer.FirstPageWorthTrying(texture, page);
            // A page is opened only for the attempt that needs it, so a cancel never
            // leaves an empty page behind.
            if (page == packer.PageCount()) {
                packer.AddPage();
            }
            if (packer.PlaceTexture(texture, page)) {
                if (callbacks.pageChanged) {
                    callbacks.pageChanged(page);
                }
                break;
            }
        }
        if (callbacks.progress) {
            callbacks.progress(i, total);
        }
    }
    if (!Running(callbacks)) {
        return Status::Failed(Fault::Cancelled, {});
    }
    return {};
}
