#include "Commands.h"

#include "document/ObjectSlotNames.h"
#include "images/BTCImageObject.h"
#include "images/ImageFitting.h"

#include <cstdio>

int RunAddTexture(const std::string& inPath, std::uint32_t slot, const std::string& outPath,
                  const std::vector<std::string>& imagePaths) {
    SpriteWad wad;
    if (!LoadWad(inPath, wad)) {
        return 1;
    }
    // All the images or none: one that cannot be read or fitted writes nothing.
    std::vector<SpriteTexture> textures;
    for (const std::string& path : imagePaths) {
        BTCImageObject image;
        if (const Status read = image.Load(path); !read) {
            return ReportError(read.message());
        }
        if (!FitTexture(*image.GetObjectDataPtr())) {
            return ReportError("Cannot fit \"" + path + "\" into 256 x 256 pixels");
        }
        textures.push_back(std::move(*image.GetObjectDataPtr()));
    }
    const bool created = !wad.FindObject(slot);
    const edits::EditResult added = edits::AddTexturesToSlot(wad, slot, std::move(textures));
    if (!added) {
        return ReportError(added.message());
    }
    if (SaveAndReport(wad, outPath) != 0) {
        return 1;
    }
    const std::string objectName = std::to_string(slot) + " (" + LookupSlotName(slot) + ")";
    std::printf("Added %s to %sobject %s, which now holds %d\n",
                Counted(imagePaths.size(), "texture").c_str(), created ? "the new " : "",
                objectName.c_str(), wad.ObjectTextureCount(added->object));
    return 0;
}
