#include "Commands.h"

#include "packing/SaveWad.h"

#include <cstdio>

int SaveAndReport(SpriteWad& wad, const std::string& outPath) {
    if (const Status saved = SaveWad(wad, outPath); !saved) {
        return ReportError(saved.message());
    }
    std::printf("Packed %s onto %s\n", Counted(wad.TextureCount(), "texture").c_str(),
                Counted(wad.m_pages.size(), "page").c_str());
    return 0;
}

int RunRepack(const std::string& inPath, const std::string& outPath,
              const swd::ReadOptions& options) {
    SpriteWad wad;
    if (!LoadWad(inPath, options, wad)) {
        return 1;
    }
    return SaveAndReport(wad, outPath);
}
