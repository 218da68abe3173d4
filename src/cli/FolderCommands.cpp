#include "Commands.h"

#include "formats/ExtractFolder.h"

#include <cstdio>

int RunExtract(const std::string& swdPath, const std::string& folder,
               const swd::ReadOptions& options) {
    SpriteWad wad;
    if (!LoadWad(swdPath, options, wad)) {
        return 1;
    }
    const Result<extract::WrittenFolder> written = extract::WriteExtractFolder(wad, folder);
    if (!written) {
        return ReportError(written.message());
    }
    std::printf("Extracted %s into %s under %s\n", Counted(written->files, "texture").c_str(),
                Counted(written->folders, "folder").c_str(), folder.c_str());
    return 0;
}

int RunBuild(const std::string& folder, const std::string& outPath) {
    Result<SpriteWad> wad = extract::ReadExtractFolder(folder);
    if (!wad) {
        return ReportError(wad.message());
    }
    return SaveAndReport(*wad, outPath);
}
