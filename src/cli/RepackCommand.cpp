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

std::optional<edits::Edit> EditObjectAndSave(
    const std::string& inPath, std::uint32_t slot, const std::string& outPath,
    const std::function<edits::EditResult(SpriteWad& wad, std::size_t object)>& edit) {
    SpriteWad wad;
    if (!LoadWad(inPath, wad)) {
        return std::nullopt;
    }
    const std::optional<std::size_t> object = RequireObject(wad, slot, inPath);
    if (!object) {
        return std::nullopt;
    }
    edits::EditResult done = edit(wad, *object);
    if (!done) {
        ReportError(done.message());
        return std::nullopt;
    }
    if (SaveAndReport(wad, outPath) != 0) {
        return std::nullopt;
    }
    return std::move(*done);
}

int RunRepack(const std::string& inPath, const std::string& outPath,
              const swd::ReadOptions& options) {
    SpriteWad wad;
    if (!LoadWad(inPath, options, wad)) {
        return 1;
    }
    return SaveAndReport(wad, outPath);
}
