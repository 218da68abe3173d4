#include "Commands.h"

#include "model/PackTextures.h"
#include "model/SwdFile.h"

#include <cstdio>

int RunRepack(const std::string& inPath, const std::string& outPath) {
    SpriteWad wad;
    const swd::Result loaded = swd::ReadSwdFile(inPath, wad);
    if (!loaded.ok()) {
        return ReportError(loaded.message);
    }
    if (!PackAndWrite(wad, inPath, outPath)) {
        return 1;
    }
    std::printf("Packed %zu textures onto %zu pages\n", wad.TextureCount(), wad.m_pages.size());
    return 0;
}

bool PackAndWrite(SpriteWad& wad, const std::string& inPath, const std::string& outPath) {
    const PackResult packed = PackTextures(wad);
    if (packed.status != PackStatus::Done) {
        ReportError("Cannot pack the textures of \"" + inPath + "\": " + packed.message);
        return false;
    }
    const swd::Result written = swd::WriteSwdFile(outPath, wad);
    if (!written.ok()) {
        ReportError(written.message);
        return false;
    }
    return true;
}
