#include "Commands.h"

#include "model/ListLines.h"
#include "model/SwdFile.h"

#include <cstdio>

int RunInfo(const std::string& swdPath) {
    SpriteWad wad;
    swd::SwdFileInfo stated;
    const swd::Result loaded = swd::ReadSwdFile(swdPath, wad, &stated);
    if (!loaded.ok()) {
        return ReportError(loaded.message);
    }
    std::printf("version %u, entries %u, pages %u, objects %u\n", stated.version, stated.entryCount,
                stated.pageCount, stated.sequenceCount);
    for (std::size_t k = 0; k < wad.ObjectCount(); ++k) {
        const ObjectSequence& object = wad.m_sequences[k];
        std::printf("%s\n", FormatObjectLine(object).c_str());
        for (int line = 0; line < object.TextureCount(); ++line) {
            const SpriteTexture& texture = wad.ObjectTexture(k, line);
            std::printf("  %s\n",
                        FormatTextureLine(line, texture.GetWidth(), texture.GetHeight()).c_str());
        }
    }
    return 0;
}
