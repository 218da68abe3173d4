#pragma once

#include "document/ObjectSequence.h"

#include <cstdint>
#include <string>
#include <vector>

// The objects of an extract folder, kept in "objects.txt" so that build gives them back in
// the same order and at the same places: one "<slot> <count> <first>" a line, in list order.
// The textures of every object with a slot lie in the folder SlotFolderName(slot), numbered
// on from 0 across the objects of that slot in list order.
inline constexpr const char* kManifestName = "objects.txt";
// Textures that no object owns lie in this folder, each named by its place in the wad.
inline constexpr const char* kUnownedFolderName = "unowned";

std::string SlotFolderName(std::uint32_t slotId);
std::string FormatManifest(const std::vector<ObjectSequence>& objects);
// Fails naming the first line that is not three whole numbers in range.
bool ParseManifest(const std::string& text, std::vector<ObjectSequence>& objects,
                   std::string& error);
