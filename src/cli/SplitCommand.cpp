#include "CommandLine.h"
#include "Commands.h"

#include "document/ObjectSlotNames.h"
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
    const auto slot = ParseSlot(parsed->operands[1], &problem);
    if (!slot) {
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
                        *slot,
                        parsed->operands[2],
                        parsed->operands[3],
                        size->first,
                        size->second,
                        parsed->flags.count("--pad") > 0};
}

int RunSplit(const SplitRequest& request) {
    SpriteWad wad;
    if (!LoadWad(request.inPath, wad)) {
        return 1;
    }
    BTCImageObject image;
    if (const Status read = image.Load(request.imagePath); !read) {
        return ReportError(read.message());
    }
    // Every piece or none: a cut the object cannot take whole writes nothing, and is refused
    // before the pieces are made.
    const BTCImageData& pixels = *image.GetObjectDataPtr();
    const std::size_t count = PieceCount(pixels, request.pieceWidth, request.pieceHeight);
    if (const Status room = edits::RoomForTextures(wad, request.slot, count); !room) {
        return ReportError(room.message());
    }
    std::vector<SpriteTexture> pieces;
    pieces.reserve(count);
    SplitImage(
        pixels, request.pieceWidth, request.pieceHeight,
        request.pad ? PiecePolicy::PadWithMagenta : PiecePolicy::AllowSmaller, [] { return true; },
        [&pieces](BTCImageData piece) {
            pieces.push_back(std::move(piece));
            return true;
        });
    const edits::EditResult added = edits::AddTexturesToSlot(wad, request.slot, std::move(pieces));
    if (!added) {
        return ReportError(added.message());
    }
    if (SaveAndReport(wad, request.outPath) != 0) {
        return 1;
    }
    const std::string name = std::to_string(request.slot) + ": " + LookupSlotName(request.slot);
    std::printf("Added %s to %s, which now holds %s\n", Counted(count, "piece").c_str(),
                name.c_str(), Counted(wad.ObjectTextureCount(added->object), "texture").c_str());
    return 0;
}
