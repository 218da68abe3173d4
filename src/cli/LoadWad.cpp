#include "Commands.h"

bool LoadWad(const std::string& path, const swd::ReadOptions& options, SpriteWad& wad,
             swd::SwdFileInfo* info) {
    swd::SwdFileInfo stated;
    const Status loaded = swd::ReadSwdFile(path, wad, &stated, options);
    if (info != nullptr) {
        *info = stated;
    }
    if (loaded.ok()) {
        return true;
    }
    if (stated.recoverableEntryCount != 0 && !options.recoverZeroCount) {
        ReportError(loaded.message() + "; the header says it holds no sprites, but " +
                    std::to_string(stated.recoverableEntryCount) +
                    " sprites follow, which --recover loads");
    } else {
        ReportError(loaded.message());
    }
    return false;
}

bool LoadWad(const std::string& path, SpriteWad& wad) {
    const Status loaded = swd::ReadSwdFile(path, wad);
    if (!loaded.ok()) {
        ReportError(loaded.message());
    }
    return loaded.ok();
}

std::optional<std::size_t> RequireObject(const SpriteWad& wad, std::uint32_t slot,
                                         const std::string& path) {
    const std::optional<std::size_t> object = wad.FindObject(slot);
    if (!object) {
        ReportError("There is no object with slot " + std::to_string(slot) + " in \"" + path +
                    "\"");
    }
    return object;
}
