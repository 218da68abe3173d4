#pragma once

#include "document/SpriteWad.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Adding, re-numbering and deleting objects. Each operation either goes through or, with a
// message saying why, changes nothing; each hands back what a caller needs to take it back.
namespace objects {

// The fixed items of the object choice, by index; the last item lets the user type the id.
inline constexpr std::array<std::uint32_t, 5> kChoiceSlots{460, 463, 464, 470, 494};
inline constexpr int kSkyGraphicsChoice = 0;
inline constexpr int kDefaultSpritesChoice = 1;
inline constexpr int kCustomSpritesChoice = 4;
inline constexpr int kCustomObjectIdChoice = 5;

// The item offered first when adding: the first of SKY_GRAPHICS and DEFAULT_SPRITES that the
// wad lacks (DEFAULT_SPRITES in an empty wad), else CUSTOM_SPRITES.
int PreselectedChoice(const SpriteWad& wad);
// The item that stands for an object's id when it is edited.
int ChoiceOfSlot(std::uint32_t slotId);
// The id a choice stands for: its fixed id, or the typed one for CUSTOM_OBJECTID.
std::uint32_t SlotOfChoice(int choice, std::uint32_t typedId);

// "460: SKY_GRAPHICS already exist, choose another"
std::string AlreadyExistsMessage(std::uint32_t slotId);

struct AddedObject {
    enum class Status { Added, Duplicate, Full };
    Status status = Status::Added;
    std::string message;
    // Where the new empty object went in m_sequences.
    std::size_t position = 0;

    bool ok() const { return status == Status::Added; }
};

// Adds an empty object for the chosen item. The item, not the id, decides the place:
// SKY_GRAPHICS goes to position 0 and DEFAULT_SPRITES to 1 when a 460 object exists, else 0,
// both starting at texture 0; every other item is appended and starts at the current number
// of textures. Refuses an id that exists already.
AddedObject AddObject(SpriteWad& wad, int choice, std::uint32_t typedId);

struct EditedObject {
    // Empty when the object was re-numbered.
    std::string message;
    std::uint32_t previousSlot = 0;

    bool ok() const { return message.empty(); }
};

// Gives the object the chosen id in place: its run and position stay. Any id some object
// has already, its own included, is refused.
EditedObject EditObject(SpriteWad& wad, std::size_t object, int choice, std::uint32_t typedId);

// What deleting an object took away: enough to put it back where it was.
struct RemovedObject {
    std::size_t position = 0;
    ObjectSequence sequence;
    std::vector<SpriteTexture> textures;
};

// Removes the object and its run of textures; later runs move down by the run's length.
RemovedObject DeleteObject(SpriteWad& wad, std::size_t object);

// The object that `count` incoming textures with id `slotId` go to.
struct ImportTarget {
    std::string message; // empty when there is room
    std::size_t position = 0;
    bool created = false;

    bool ok() const { return message.empty(); }
};

// Finds the object with this id, or places a new empty one by its id as AddObject places
// the fixed items. First checks, changing nothing when it fails, that the object and the
// wad can take `count` more textures without passing 32767 textures in an object or a
// first index of 65535.
ImportTarget PrepareImport(SpriteWad& wad, std::uint32_t slotId, std::size_t count);

struct ImportedObject {
    ImportTarget target;
    std::size_t added = 0;
};

// PrepareImport, then appends every texture to the target's run in order. The textures
// must already fit on a page.
ImportedObject ImportTextures(SpriteWad& wad, std::uint32_t slotId,
                              std::vector<SpriteTexture> textures);

} // namespace objects
