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
    ExportTextureRequest request{operands[0], *slot, static_cast<int>(*line), operands[3], {}, {}};
    // The format and its options are part of the command line: a wrong one is a usage error.
    const auto value = [&parsed](const std::string& name) -> const std::string* {
        const auto given = parsed->values.find(name);
        return given != parsed->values.end() ? &given->second : nullptr;
    };
    const std::string* formatName = value("--format");
    const std::optional<ImageFormat> format = formatName != nullptr
                                                  ? ImageFormatFromName(*formatName)
                                                  : ImageFormatFromPath(request.outPath);
    if (formatName != nullptr && (!format || !FormatInfo(*format).writable)) {
        problem = "Unknown format \"" + *formatName + "\": use " +
                  FormatNames(FormatUse::Write, NameCase::Lower, ", ", " or ");
        return std::nullopt;
    }
    if (!format) {
        problem = "Cannot tell the format from the name \"" + request.outPath + "\": give --format";
        return std::nullopt;
    }
    request.format = *format;
    if (const std::string* text = value("--quality")) {
        const auto quality = ParseWholeNumber(*text, 0, 100);
        if (!quality) {
            problem = "The quality must be a whole number from 0 to 100, not \"" + *text + "\"";
            return std::nullopt;
        }
        if (FormatInfo(*format).option != FormatOption::Quality) {
            problem = "--quality applies only to JPEG";
            return std::nullopt;
        }
        request.options.jpegQuality = static_cast<int>(*quality);
    }
    request.options.tgaRunLength = parsed->flags.count("--rle") > 0;
    if (request.options.tgaRunLength && FormatInfo(*format).option != FormatOption::RunLength) {
        problem = "--rle applies only to TGA";
        return std::nullopt;
    }
    return request;
}

int RunExportTexture(const ExportTextureRequest& request) {
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
    if (const Status exported =
            ExportImage(texture, request.outPath, request.format, request.options);
        !exported) {
        return ReportError(exported.message());
    }
    std::printf("Exported texture %d of object %s (%d x %d) to %s as %s\n", request.line,
                objectName.c_str(), texture.GetWidth(), texture.GetHeight(),
                request.outPath.c_str(), std::string(FormatInfo(request.format).name).c_str());
    return 0;
}
