#include "Commands.h"

#include "document/ObjectSlotNames.h"
#include "formats/SwdFile.h"
#include "images/TextureExport.h"

#include <cstdio>
#include <limits>

int RunExportTexture(const std::string& swdPath, const std::string& slot, const std::string& line,
                     const std::string& outPath, const ExportTextureOptions& options) {
    const auto slotId = ParseWholeNumber(slot, 0, std::numeric_limits<std::uint32_t>::max());
    if (!slotId) {
        return ReportError("\"" + slot + "\" is not a slot number");
    }
    const auto lineNumber = ParseWholeNumber(line, 0, SpriteWad::kMaxObjectTextures - 1);
    if (!lineNumber) {
        return ReportError("\"" + line + "\" is not a texture line number");
    }
    std::optional<ImageFormat> format;
    if (!options.format.empty()) {
        format = ImageFormatFromName(options.format);
        if (!format || !FormatInfo(*format).writable) {
            return ReportError("Unknown format \"" + options.format + "\": use " +
                               FormatNames(FormatUse::Write, NameCase::Lower, ", ", " or "));
        }
    } else {
        format = ImageFormatFromPath(outPath);
        if (!format) {
            return ReportError("Cannot tell the format from the name \"" + outPath +
                               "\": give --format");
        }
    }
    ExportOptions exportOptions;
    if (!options.quality.empty()) {
        const auto quality = ParseWholeNumber(options.quality, 0, 100);
        if (!quality) {
            return ReportError("The quality must be a whole number from 0 to 100, not \"" +
                               options.quality + "\"");
        }
        if (FormatInfo(*format).option != FormatOption::Quality) {
            return ReportError("--quality applies only to JPEG");
        }
        exportOptions.jpegQuality = static_cast<int>(*quality);
    }
    if (options.runLength && FormatInfo(*format).option != FormatOption::RunLength) {
        return ReportError("--rle applies only to TGA");
    }
    exportOptions.tgaRunLength = options.runLength;

    SpriteWad wad;
    if (!LoadWad(swdPath, wad)) {
        return 1;
    }
    const auto object = FindObject(wad, static_cast<std::uint32_t>(*slotId), swdPath);
    if (!object) {
        return 1;
    }
    const ObjectSequence& sequence = wad.m_sequences[*object];
    const std::string objectName = slot + " (" + LookupSlotName(sequence.slotId) + ")";
    if (*lineNumber >= sequence.TextureCount()) {
        return ReportError("Object " + objectName + " has " +
                           std::to_string(sequence.TextureCount()) + " textures, so no line " +
                           line);
    }
    const SpriteTexture& texture = wad.ObjectTexture(*object, static_cast<int>(*lineNumber));
    if (const Status exported = ExportImage(texture, outPath, *format, exportOptions); !exported) {
        return ReportError(exported.message());
    }
    std::printf("Exported texture %lld of object %s (%d x %d) to %s as %s\n", *lineNumber,
                objectName.c_str(), texture.GetWidth(), texture.GetHeight(), outPath.c_str(),
                std::string(FormatInfo(*format).name).c_str());
    return 0;
}
