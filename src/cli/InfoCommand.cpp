#include "Commands.h"

#include "document/ListLines.h"

#include <cstdio>

int RunInfo(const std::string& swdPath, const swd::ReadOptions& options) {
    SpriteWad wad;
    swd::SwdFileInfo stated;
    if (!LoadWad(swdPath, options, wad, &stated)) {
        return 1;
    }
    std::printf("version %u, entries %u%s, pages %u, objects %u\n", stated.version,
                stated.entryCount, stated.recoverableEntryCount != 0 ? " (recovered)" : "",
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
