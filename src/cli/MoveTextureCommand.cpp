#include "Commands.h"

#include <cstdio>

std::optional<MoveTextureRequest> ParseMoveTexture(const std::vector<std::string>& args,
                                                   std::string& problem) {
    if (args.size() != 6) {
        problem = "move-texture takes an input file, a slot, the first and last line, the line "
                  "to move them to and an output file";
        return std::nullopt;
    }
    const auto slot = ParseSlot(args[1]);
    const auto line = [&args](std::size_t i) {
        return ParseWholeNumber(args[i], 0, SpriteWad::kMaxObjectTextures - 1);
    };
    const auto first = line(2), last = line(3), to = line(4);
    if (!slot || !first || !last || !to) {
        problem = "the slot and the three lines must be numbers";
        return std::nullopt;
    }
    if (*first > *last) {
        problem = "the first line must not come after the last";
        return std::nullopt;
    }
    return MoveTextureRequest{
        args[0], *slot, static_cast<int>(*first), static_cast<int>(*last), static_cast<int>(*to),
        args[5]};
}

int RunMoveTexture(const MoveTextureRequest& request) {
    const auto moved = EditObjectAndSave(
        request.inPath, request.slot, request.outPath, [&](SpriteWad& wad, std::size_t object) {
            return edits::MoveTextures(wad, object, request.first, request.last, request.to);
        });
    if (!moved) {
        return 1;
    }
    std::printf("Moved lines %d to %d of object %u to line %d\n", request.first, request.last,
                request.slot, request.to);
    return 0;
}
