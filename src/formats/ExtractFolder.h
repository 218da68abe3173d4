#pragma once

#include "document/ObjectSequence.h"
#include "document/SpriteWad.h"
#include "io/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An extract folder: a sprite wad as image files and a list of its objects, so that sprites
// can be kept under version control and edited in any image editor.
//
//   DIR/objects.txt            the objects in list order, one "<slot> <count> <first>" a line
//   DIR/<slot>_<NAME>/<k>.png  the textures of the objects with that slot, numbered on from 0
//                              across those objects in list order
//   DIR/unowned/<place>.png    textures no object owns, named by their place in the wad
//
// Reading takes the numbered textures of each folder in numeric order, in any format the
// editor reads but headerless RAW, and gives the objects back in the same order at the same
// places.
//
//   Result<SpriteWad> wad = extract::ReadExtractFolder(folder);
//   if (!wad) { Show(wad.message()); return; }
namespace extract {

inline constexpr const char* kManifestName = "objects.txt";
inline constexpr const char* kUnownedFolderName = "unowned";

// "<slot>_<NAME>", e.g. "463_DEFAULT_SPRITES".
std::string SlotFolderName(std::uint32_t slotId);
std::string FormatManifest(const std::vector<ObjectSequence>& objects);
// Fails naming the first line that is not three whole numbers in range.
Result<std::vector<ObjectSequence>> ParseManifest(const std::string& text);

struct WrittenFolder {
    std::size_t files = 0;
    std::size_t folders = 0;
};
// Writes the wad into `folder`, creating it and its missing parents. Refuses, writing nothing,
// when a file it would write exists already or a folder it needs is something else; a failure
// part-way takes back every file and folder it made.
Result<WrittenFolder> WriteExtractFolder(const SpriteWad& wad, const std::string& folder);
// The textures and objects of the folder (no pages or entries: those come with a save).
Result<SpriteWad> ReadExtractFolder(const std::string& folder);

} // namespace extract
