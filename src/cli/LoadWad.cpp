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
