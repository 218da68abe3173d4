#include "CommandLine.h"
#include "Commands.h"

#include "document/ObjectSlotNames.h"
#include "images/TextureExport.h"

#include <cstdio>

std::optional<ExportTextureRequest> ParseExportTexture(const std::vector<std::string>& args,
                                                       std::string& problem) {
    const auto parsed = SplitArguments(args, {"--format", "--quality"}, {"--rle"}, problem);
    if (!parsed) {
        return std::nullopt;
    }
    const std::vector<std::string>& operands = parsed->operands;
    if (operands.size() != 4) {
        problem = "export-texture takes a file, a slot, a line and an output file";
        return std::nullopt;
    }
    const auto slot = ParseSlot(operands[1], &problem);
    if (!slot) {
        return std::nullopt;
    }
    const auto line = ParseWholeNumber(operands[2], 0, SpriteWad::kMaxObjectTextures - 1);
    if (!line) {
        problem = "\"" + operands[2] + "\" is not a texture line number";
        return std::nullopt;
    }
    const auto value = [&parsed](const std::string& name) {
        const auto given = parsed->values.find(name);
        return given != parsed->values.end() ? given->second : std::string();
    };
    return ExportTextureRequest{operands[0],
                                *slot,
                                static_cast<int>(*line),
                                operands[3],
                                value("--format"),
                                value("--quality"),
                                parsed->flags.count("--rle") > 0};
}

int RunExportTexture(const ExportTextureRequest& request) {
    const std::string& outPath = request.outPath;
    std::optional<ImageFormat> format;
    if (!request.format.empty()) {
        format = ImageFormatFromName(request.format);
        if (!format || !FormatInfo(*format).writable) {
            return ReportError("Unknown format \"" + request.format + "\": use " +
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
    if (!request.quality.empty()) {
        const auto quality = ParseWholeNumber(request.quality, 0, 100);
        if (!quality) {
            return ReportError("The quality must be a whole number from 0 to 100, not \"" +
                               request.quality + "\"");
        }
        if (FormatInfo(*format).option != FormatOption::Quality) {
            return ReportError("--quality applies only to JPEG");
        }
        exportOptions.jpegQuality = static_cast<int>(*quality);
    }
    if (request.runLength && FormatInfo(*format).option != FormatOption::RunLength) {
        return ReportError("--rle applies only to TGA");
    }
    exportOptions.tgaRunLength = request.runLength;

    SpriteWad wad;
    if (!LoadWad(request.swdPath, wad)) {
        return 1;
    }
    const auto object = RequireObject(wad, request.slot, request.swdPath);
    if (!object) {
        return 1;
    }
    const ObjectSequence& sequence = wad.m_sequences[*object];
    const std::string objectName =
        std::to_string(request.slot) + " (" + LookupSlotName(sequence.slotId) + ")";
    if (request.line >= sequence.TextureCount()) {
        return ReportError("Object " + objectName + " has " +
                           std::to_string(sequence.TextureCount()) + " textures, so no line " +
                           std::to_string(request.line));
    }
    const SpriteTexture& texture = wad.ObjectTexture(*object, request.line);
    if (const Status exported = ExportImage(texture, outPath, *format, exportOptions); !exported) {
        return ReportError(exported.message());
    }
    std::printf("Exported texture %d of object %s (%d x %d) to %s as %s\n", request.line,
                objectName.c_str(), texture.GetWidth(), texture.GetHeight(), outPath.c_str(),
                std::string(FormatInfo(*format).name).c_str());
    return 0;
}
