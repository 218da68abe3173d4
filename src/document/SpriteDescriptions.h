#pragma once

#include <cstdint>
#include <optional>

// The Info pane tells what the sprites of two objects are for: the sky's first four lines and
// the default sprites' first 33, in that order among 37 descriptions.
inline constexpr int kSpriteDescriptionCount = 37;

// Which description belongs to line `line` of an object of slot `slotId`, if any.
std::optional<int> SpriteDescriptionIndex(std::uint32_t slotId, int line);
