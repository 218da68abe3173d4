#include "CommandLine.h"
#include "Commands.h"

#include "document/ObjectSlotNames.h"
#include "formats/SwdFile.h"
#include "images/BTCImageObject.h"
#include "pixels/SplitImage.h"

#include <cstdio>

std::optional<SplitRequest> ParseSplit(const std::vector<std::string>& args, std::string& problem) {
    const auto parsed = SplitArguments(args, {"--piece"}, {"--pad"}, problem);
    if (!parsed) {
        return std::nullopt;
    }
    if (parsed->operands.size() != 4) {
        problem = "split takes an input file, a slot, an image and an output file";
        return std::nullopt;
    }
    const auto slot = ParseWholeNumber(parsed->operands[1], 0, kMaxSlot);
    if (!slot) {
        problem = "the slot \"" + parsed->operands[1] + "\" is not a number";
        return std::nullopt;
    }
    const auto piece = parsed->values.find("--piece");
    if (piece == parsed->values.end()) {
        problem = "split needs --piece WxH";
        return std::nullopt;
    }
    const auto size = ParseSpriteSize(piece->second);
    if (!size) {
        problem = "the piece size \"" + piece->second + "\" is not WxH with sides 1 to 256";
        return std::nullopt;
    }
    return SplitRequest{parsed->operands[0],
                        static_cast<std::uint32_t>(*slot),
                        parsed->operands[2],
                        parsed->operands[3],
                        size->first,
                        size->second,
                        parsed->flags.count("--pad") > 0};
}

int RunSplit(const SplitRequest& request) {
    SpriteWad wad;
    const Status loaded = swd::ReadSwdFile(request.inPath, wad);
    if (!loaded.ok()) {
        return ReportError(loaded.message());
    }
    BTCImageObject image;
    if (const Status read = image.Load(request.imagePath); !read) {
        return ReportError(read.message());
    }
    std::optional<std::size_t> object = wad.FindObject(request.slot);
    if (!object) {
        object = wad.AddObject(request.slot);
        if (!object) {
            return ReportError("There is no room for a new object: the sprite wad already holds " +
                               std::to_string(wad.TextureCount()) + " textures");
        }
    }
    bool full = false;
    const std::size_t added = SplitImage(
        *image.GetObjectDataPtr(), request.pieceWidth, request.pieceHeight,
        request.pad ? PiecePolicy::PadWithMagenta : PiecePolicy::AllowSmaller, [] { return true; },
        [&](BTCImageData piece) {
            full = !wad.AddTexture(*object, std::move(piece));
            return !full;
        });
    if (full) {
        return ReportError("Only " + std::to_string(added) +
                           " pieces fit: an object holds at most 32767 textures and a sprite wad "
                           "at most 65535");
    }
    if (PackAndWrite(wad, request.inPath, request.outPath) != 0) {
        return 1;
    }
    const std::string name = std::to_string(request.slot) + ": " + LookupSlotName(request.slot);
    std::printf("Added %zu pieces to %s, which now holds %d textures\n", added, name.c_str(),
                wad.m_sequences[*object].TextureCount());
    return 0;
}
