#include "formats/ExtractFolder.h"

#include "document/ObjectSlotNames.h"

#include <charconv>
#include <limits>
#include <sstream>
#include <string_view>
#include <utility>

namespace extract {

namespace {

// One whole number in 0..max from the start of text; moves text past it and the spaces after.
bool TakeNumber(std::string_view& text, std::uint64_t max, std::uint64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || value > max) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    return true;
}

} // namespace

std::string SlotFolderName(std::uint32_t slotId) {
    return std::to_string(slotId) + "_" + LookupSlotName(slotId);
}

std::string FormatManifest(const std::vector<ObjectSequence>& objects) {
    std::string text;
    for (const ObjectSequence& object : objects) {
        text += std::to_string(object.slotId) + " " + std::to_string(object.TextureCount()) + " " +
                std::to_string(object.firstTexture) + "\n";
    }
    return text;
}

Result<std::vector<ObjectSequence>> ParseManifest(const std::string& text) {
    std::vector<ObjectSequence> objects;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::string_view rest = line;
        std::uint64_t slot = 0;
        std::uint64_t count = 0;
        std::uint64_t first = 0;
        if (!TakeNumber(rest, std::numeric_limits<std::uint32_t>::max(), slot) ||
            !TakeNumber(rest, SpriteWad::kMaxObjectTextures, count) ||
            !TakeNumber(rest, std::numeric_limits<std::uint16_t>::max(), first) || !rest.empty()) {
            return Status::Failed(Fault::Damaged,
                                  "line " + std::to_string(number) +
                                      " is not \"<slot> <count> <first>\" with a count of at "
                                      "most " +
                                      std::to_string(SpriteWad::kMaxObjectTextures));
        }
        ObjectSequence object;
        object.slotId = static_cast<std::uint32_t>(slot);
        object.SetTextureCount(static_cast<int>(count));
        object.firstTexture = static_cast<std::uint16_t>(first);
        objects.push_back(object);
    }
    return objects;
}

} // namespace extract
