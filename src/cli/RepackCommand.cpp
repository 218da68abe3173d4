#include "Commands.h"

#include "packing/SaveWad.h"

#include <cstdio>

int SaveAndReport(SpriteWad& wad, const std::string& outPath) {
    if (const Status saved = SaveWad(wad, outPath); !saved) {
        return ReportError(saved.message());
    }
    std::printf("Packed %zu textures onto %zu pages\n", wad.TextureCount(), wad.m_pages.size());
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
