#include "Commands.h"

#include "packing/PackTextures.h"

#include <cstdio>

int PackAndWrite(SpriteWad& wad, const std::string& source, const std::string& outPath) {
    const Status packed = PackTextures(wad);
    if (!packed.ok()) {
        return ReportError("Cannot pack the textures of \"" + source + "\": " + packed.message());
    }
    const Status written = swd::WriteSwdFile(outPath, wad);
    if (!written.ok()) {
        return ReportError(written.message());
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
    return PackAndWrite(wad, inPath, outPath);
}
