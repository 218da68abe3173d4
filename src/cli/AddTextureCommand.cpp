#include "Commands.h"

#include "document/ObjectSlotNames.h"
#include "formats/SwdFile.h"
#include "images/BTCImageObject.h"
#include "images/ImageFitting.h"

#include <cstdio>
#include <limits>

int RunAddTexture(const std::string& inPath, const std::string& slot, const std::string& outPath,
                  const std::vector<std::string>& imagePaths) {
    const auto slotId = ParseWholeNumber(slot, 0, std::numeric_limits<std::uint32_t>::max());
    if (!slotId) {
        return ReportError("\"" + slot + "\" is not a slot number");
    }
    SpriteWad wad;
    const Status loaded = swd::ReadSwdFile(inPath, wad);
    if (!loaded.ok()) {
        return ReportError(loaded.message());
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
    for (const std::string& path : imagePaths) {
        BTCImageObject image;
        if (const Status read = image.Load(path); !read) {
            return ReportError(read.message());
        }
        BTCImageData& texture = *image.GetObjectDataPtr();
        if (!FitTexture(texture)) {
            return ReportError("Cannot fit \"" + path + "\" into 256 x 256 pixels");
        }
        if (!wad.AddTexture(*object, std::move(texture))) {
            return ReportError("Cannot add \"" + path + "\": an object holds at most " +
                               std::to_string(SpriteWad::kMaxObjectTextures) +
                               " textures and a sprite wad at most " +
                               std::to_string(SpriteWad::kMaxTextures));
        }
    }
    if (PackAndWrite(wad, inPath, outPath) != 0) {
        return 1;
    }
    std::printf("Added %zu textures to %sobject %s, which now holds %d\n", imagePaths.size(),
                created ? "the new " : "", objectName.c_str(),
                wad.m_sequences[*object].TextureCount());
    return 0;
}
