#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::uint32_t kSkyGraphicsSlot = 460;
inline constexpr std::uint32_t kDefaultSpritesSlot = 463;
inline constexpr std::uint32_t kMiscSpritesSlot = 464;
inline constexpr std::uint32_t kFontGraphicsSlot = 470;
inline constexpr std::uint32_t kCustomSpritesSlot = 494;

// The name of every object slot, by slot number.
extern const std::array<std::string_view, 499> ObjectSlotNames;

// The slot's name, or "UNKNOWN_SPRITES" for any number past the table.
std::string LookupSlotName(std::uint32_t slotId);
