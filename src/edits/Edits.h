#pragma once

#include "document/SpriteWad.h"
#include "document/WadChange.h"
#include "images/ResizeMath.h"
#include "io/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Every change a user can make to a sprite wad. Each edit either goes through and hands back
// the change that undoes it, or is refused with a message and changes nothing. Objects are
// named by their position in the wad, textures by their line inside the object, from 0.
//
//   EditResult done = edits::DeleteTexture(wad, object, line);
//   if (!done) { Show(done.message()); return; }
//   done->change.Swap(wad); // undone; Swap again redoes
namespace edits {

struct Edit {
    WadChange change;
    // The object the edit worked on, where it stands now; for a deleted object, where it stood.
    std::size_t object = 0;
    // The lines of that object it added or changed (lastLine < firstLine: none).
    int firstLine = 0;
    int lastLine = -1;
    // Set when an edit that adds several textures stopped at a limit before the last one;
    // what it added stays added.
    Status stopped;
};
using EditResult = Result<Edit>;

// Where a new object goes.
enum class ObjectPlacement {
    // SKY_GRAPHICS (460) first and DEFAULT_SPRITES (463) behind it, both starting at texture 0;
    // any other slot at the end.
    BySlot,
    // At the end, whatever the slot.
    AtEnd,
};

// "460: SKY_GRAPHICS already exist, choose another"
std::string AlreadyExistsMessage(std::uint32_t slotId);
// "No more textures fit: an object holds at most 32767 textures and a sprite wad at most
// 65535.", also when some of them went in.
std::string NoRoomMessage();

// The slot a new object is offered first: the first of SKY_GRAPHICS and DEFAULT_SPRITES that
// the wad lacks (DEFAULT_SPRITES in an empty wad), else CUSTOM_SPRITES.
std::uint32_t SuggestedSlot(const SpriteWad& wad);

// A new empty object. Refuses a slot some object has already, and a wad whose textures leave
// no first index for it.
EditResult AddObject(SpriteWad& wad, std::uint32_t slotId, ObjectPlacement placement);
// Gives the object another slot in place; its run and position stay. Refuses any slot some
// object has already, its own included.
EditResult EditObject(SpriteWad& wad, std::size_t object, std::uint32_t slotId);
// Removes the object and its run; later runs move down by the run's length.
EditResult DeleteObject(SpriteWad& wad, std::size_t object);

// Appends the textures, in order, behind the object's last one, as many as the object and the
// wad have room for; `stopped` says why it ended early. Refused when not even one fits. Every
// texture must already fit on a page (FitTexture).
EditResult AddTextures(SpriteWad& wad, std::size_t object, std::vector<SpriteTexture> textures);
// Whether the object with this slot (or a new one) and the wad can take `count` more textures:
// AddTexturesToSlot's first check, for a caller that would rather know before it makes them.
Status RoomForTextures(const SpriteWad& wad, std::uint32_t slotId, std::size_t count);
// Appends all of the textures to the object with this slot, placing a new object by its slot
// when there is none, or refuses, changing nothing, when they do not all fit.
EditResult AddTexturesToSlot(SpriteWad& wad, std::uint32_t slotId,
                             std::vector<SpriteTexture> textures);
// Puts the texture in place of line `line`; counts and runs stay.
EditResult ReplaceTexture(SpriteWad& wad, std::size_t object, int line, SpriteTexture texture);
// Removes line `line`; later runs move down by one.
EditResult DeleteTexture(SpriteWad& wad, std::size_t object, int line);

// Moves lines first..last (both included) so that the run starts at line `to`; the object's
// other textures keep their order around it, and nothing else changes. Refuses lines outside
// the object, a first line after the last, and a `to` that would leave part of the run
// outside the object.
EditResult MoveTextures(SpriteWad& wad, std::size_t object, int first, int last, int to);

// One size for a run of textures: the box each is resized into, and how.
struct ResizeRequest {
    int boxWidth = 0;
    int boxHeight = 0;
    // Each texture takes the largest size of its own proportions inside the box, instead of
    // the box's size.
    bool keepAspect = false;
    ResizeFilter filter = ResizeFilter::Stretch;
};
// Resizes lines first..last (both included) to RangeTargetSize of the box. Refuses lines
// outside the object; a first line after the last changes nothing.
EditResult ResizeTextures(SpriteWad& wad, std::size_t object, int first, int last,
                          const ResizeRequest& request);

} // namespace edits
