#include "CommandLine.h"
#include "Commands.h"

#include "images/ResizeMath.h"

#include <cstdio>

std::optional<ResizeRangeRequest> ParseResize(const std::vector<std::string>& args,
                                              std::string& problem) {
    const auto parsed = SplitArguments(args, {"--size", "--filter"}, {"--keep-aspect"}, problem);
    if (!parsed) {
        return std::nullopt;
    }
    if (parsed->operands.size() != 5) {
        problem = "resize takes an input file, a slot, the first and last line and an output file";
        return std::nullopt;
    }
    const auto slot = ParseSlot(parsed->operands[1]);
    const auto first = ParseWholeNumber(parsed->operands[2], 0, SpriteWad::kMaxObjectTextures - 1);
    const auto last = ParseWholeNumber(parsed->operands[3], 0, SpriteWad::kMaxObjectTextures - 1);
    if (!slot || !first || !last) {
        problem = "the slot and the first and last line must be numbers";
        return std::nullopt;
    }
    if (*first > *last) {
        problem = "the first line must not come after the last";
        return std::nullopt;
    }
    const auto sizeOption = parsed->values.find("--size");
    if (sizeOption == parsed->values.end()) {
        problem = "resize needs --size WxH";
        return std::nullopt;
    }
    const auto size = ParseSpriteSize(sizeOption->second);
    if (!size) {
        problem = "the size \"" + sizeOption->second + "\" is not WxH with sides 1 to 256";
        return std::nullopt;
    }
    ResizeFilter filter = ResizeFilter::Stretch;
    if (const auto named = parsed->values.find("--filter"); named != parsed->values.end()) {
        if (named->second == "bilinear") {
            filter = ResizeFilter::Bilinear;
        } else if (named->second != "stretch") {
            problem = "the filter must be stretch or bilinear";
            return std::nullopt;
        }
    }
    return ResizeRangeRequest{
        parsed->operands[0],
        *slot,
        static_cast<int>(*first),
        static_cast<int>(*last),
        parsed->operands[4],
        {size->first, size->second, parsed->flags.count("--keep-aspect") > 0, filter}};
}

int RunResize(const ResizeRangeRequest& request) {
    const auto resized = EditObjectAndSave(
        request.inPath, request.slot, request.outPath, [&](SpriteWad& wad, std::size_t object) {
            return edits::ResizeTextures(wad, object, request.first, request.last, request.resize);
        });
    if (!resized) {
        return 1;
    }
    std::printf("Resized %s of object %u\n",
                Counted(resized->lastLine - resized->firstLine + 1, "texture").c_str(),
                request.slot);
    return 0;
}
