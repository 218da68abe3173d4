#include "Commands.h"

#include "document/ListLines.h"
#include "edits/Edits.h"
#include "formats/SwoFile.h"

#include <cstdio>
#include <optional>

int RunExportObject(const std::string& swdPath, std::uint32_t slotId, const std::string& outPath) {
    SpriteWad wad;
    if (!LoadWad(swdPath, wad)) {
        return 1;
    }
    const std::optional<std::size_t> object = RequireObject(wad, slotId, swdPath);
    if (!object) {
        return 1;
    }
    const Status written = swo::WriteSwoFile(outPath, wad, *object);
    if (!written.ok()) {
        return ReportError(written.message());
    }
    std::printf("Exported %s to %s\n", FormatObjectLine(wad.m_sequences[*object]).c_str(),
                outPath.c_str());
    return 0;
}

int RunImportObject(const std::string& swdPath, const std::string& swoPath,
                    const std::string& outPath) {
    SpriteWad wad;
    if (!LoadWad(swdPath, wad)) {
        return 1;
    }
    swo::SwoObject file;
    const Status read = swo::ReadSwoFile(swoPath, file);
    if (!read.ok()) {
        return ReportError(read.message());
    }
    const std::size_t count = file.textures.size();
    const bool created = !wad.FindObject(file.slotId);
    const edits::EditResult imported =
        edits::AddTexturesToSlot(wad, file.slotId, std::move(file.textures));
    if (!imported) {
        return ReportError(imported.message());
    }
    if (SaveAndReport(wad, outPath) != 0) {
        return 1;
    }
    std::printf("Imported %s into %s object %s\n", Counted(count, "texture").c_str(),
                created ? "new" : "existing",
                FormatObjectLine(wad.m_sequences[imported->object]).c_str());
    return 0;
}
