#include "Commands.h"

#include "images/BTCImageObject.h"
#include "images/ImageFitting.h"
#include "model/ObjectSlotNames.h"
#include "model/PackTextures.h"
#include "model/SwdFile.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <limits>
#include <system_error>
#include <thread>

namespace {

struct LoadedImage {
    BTCImageData texture;
    std::string error;
};

// Loads and fits every image. Decoding is nearly all of the command's work, so it runs on as
// many threads as the machine has, up to four. Images are handed out in order and none is
// started after one has failed, so every image before the first failure is loaded.
std::vector<LoadedImage> LoadAndFit(const std::vector<std::string>& paths) {
    std::vector<LoadedImage> loaded(paths.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        for (std::size_t i = next++; i < paths.size() && !failed; i = next++) {
            BTCImageObject image;
            LoadedImage& out = loaded[i];
            if (!image.Load(paths[i], &out.error)) {
                failed = true;
                continue;
            }
            out.texture = std::move(*image.GetObjectDataPtr());
            if (!FitTexture(out.texture)) {
                out.error = "Cannot fit \"" + paths[i] + "\" into 256 x 256 pixels";
                failed = true;
            }
        }
    };
    const unsigned wanted = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::jthread> helpers;
    for (unsigned t = 1; t < wanted && t < paths.size(); ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // fewer threads do the same work
        }
    }
    work();
    return loaded;
}

} // namespace

int RunAddTexture(const std::string& inPath, const std::string& slot, const std::string& outPath,
                  const std::vector<std::string>& imagePaths) {
    const auto slotId = ParseWholeNumber(slot, 0, std::numeric_limits<std::uint32_t>::max());
    if (!slotId) {
        return ReportError("\"" + slot + "\" is not a slot number");
    }
    SpriteWad wad;
    const swd::Result loaded = swd::ReadSwdFile(inPath, wad);
    if (!loaded.ok()) {
        return ReportError(loaded.message);
    }
    const auto id = static_cast<std::uint32_t>(*slotId);
    const std::string objectName = slot + " (" + LookupSlotName(id) + ")";
    std::optional<std::size_t> object = wad.FindObject(id);
    const bool created = !object;
    if (created) {
        object = wad.AddObject(id);
        if (!object) {
            return ReportError("\"" + inPath + "\" holds too many textures for a new object");
        }
    }
    std::vector<LoadedImage> images = LoadAndFit(imagePaths);
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (!images[i].error.empty()) {
            return ReportError(images[i].error);
        }
        if (!wad.AddTexture(*object, std::move(images[i].texture))) {
            return ReportError("Cannot add \"" + imagePaths[i] + "\": an object holds at most " +
                               std::to_string(SpriteWad::kMaxObjectTextures) +
                               " textures and a sprite wad at most " +
                               std::to_string(SpriteWad::kMaxTextures));
        }
    }
    const PackResult packed = PackTextures(wad);
    if (packed.status != PackStatus::Done) {
        return ReportError("Cannot pack the textures: " + packed.message);
    }
    const swd::Result written = swd::WriteSwdFile(outPath, wad);
    if (!written.ok()) {
        return ReportError(written.message);
    }
    std::printf("Added %zu textures to %sobject %s, which now holds %d; wrote %zu pages\n",
                imagePaths.size(), created ? "the new " : "", objectName.c_str(),
                wad.m_sequences[*object].TextureCount(), wad.m_pages.size());
    return 0;
}
