#include "edits/Edits.h"

#include "document/ObjectSlotNames.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace edits {

namespace {

Status Refuse(std::string message) {
    return Status::Failed(Fault::Refused, std::move(message));
}

std::string FullMessage(const SpriteWad& wad) {
    return "No object can be added: a new object would start at texture " +
           std::to_string(wad.TextureCount()) + ", past the " +
           std::to_string(SpriteWad::kMaxTextures) + " a sprite wad can address.";
}

// Whether line `line` of the object is one of its textures.
bool HasLine(const SpriteWad& wad, std::size_t object, int line) {
    const ObjectSequence& sequence = wad.m_sequences[object];
    return line >= 0 && line < sequence.TextureCount() &&
           sequence.firstTexture + static_cast<std::size_t>(line) < wad.TextureCount();
}

// An edit about to change the wad, remembering its object list.
Edit Begin(const SpriteWad& wad, std::size_t object = 0, int firstLine = 0, int lastLine = -1) {
    Edit edit;
    edit.change = WadChange::Before(wad);
    edit.object = object;
    edit.firstLine = firstLine;
    edit.lastLine = lastLine;
    return edit;
}

std::size_t TextureIndex(const SpriteWad& wad, std::size_t object, int line) {
    return wad.m_sequences[object].firstTexture + static_cast<std::size_t>(line);
}

// "Lines 4 to 9 are not all in the object, which has lines 0 to 4."
Status NotAllInObject(const SpriteWad& wad, std::size_t object, int first, int last) {
    const int count = wad.m_sequences[object].TextureCount();
    return Refuse("Lines " + std::to_string(first) + " to " + std::to_string(last) +
                  " are not all in the object, which has " +
                  (count == 0 ? "no textures." : "lines 0 to " + std::to_string(count - 1) + "."));
}

} // namespace

std::string AlreadyExistsMessage(std::uint32_t slotId) {
    return std::to_string(slotId) + ": " + LookupSlotName(slotId) +
           " already exist, choose another";
}

std::string NoRoomMessage() {
    return "No more textures fit: an object holds at most " +
           std::to_string(SpriteWad::kMaxObjectTextures) + " textures and a sprite wad at most " +
           std::to_string(SpriteWad::kMaxTextures) + ".";
}

Status RoomForTextures(const SpriteWad& wad, std::uint32_t slotId, std::size_t count) {
    const std::optional<std::size_t> existing = wad.FindObject(slotId);
    const std::size_t had = existing ? wad.m_sequences[*existing].TextureCount() : 0;
    if (had + count > static_cast<std::size_t>(SpriteWad::kMaxObjectTextures)) {
        return Refuse("Object " + std::to_string(slotId) + ": " + LookupSlotName(slotId) +
                      " cannot take " + std::to_string(count) + " more textures: it holds " +
                      std::to_string(had) + ", and an object holds at most " +
                      std::to_string(SpriteWad::kMaxObjectTextures) + ".");
    }
    if (wad.TextureCount() + count > SpriteWad::kMaxTextures) {
        return Refuse("The sprite wad cannot take " + std::to_string(count) +
                      " more textures: it holds " + std::to_string(wad.TextureCount()) +
                      ", and a sprite wad holds at most " +
                      std::to_string(SpriteWad::kMaxTextures) + ".");
    }
    return {};
}

std::uint32_t SuggestedSlot(const SpriteWad& wad) {
    if (wad.ObjectCount() == 0) {
        return kDefaultSpritesSlot;
    }
    if (!wad.FindObject(kSkyGraphicsSlot)) {
        return kSkyGraphicsSlot;
    }
    if (!wad.FindObject(kDefaultSpritesSlot)) {
        return kDefaultSpritesSlot;
    }
    return kCustomSpritesSlot;
}

EditResult AddObject(SpriteWad& wad, std::uint32_t slotId, ObjectPlacement placement) {
    if (wad.FindObject(slotId)) {
        return Refuse(AlreadyExistsMessage(slotId));
    }
    Edit edit = Begin(wad);
    const std::optional<std::size_t> position =
        placement == ObjectPlacement::BySlot ? wad.AddObject(slotId) : wad.AppendObject(slotId);
    if (!position) {
        return Refuse(FullMessage(wad));
    }
    edit.change.After(wad);
    edit.object = *position;
    return edit;
}

EditResult EditObject(SpriteWad& wad, std::size_t object, std::uint32_t slotId) {
    if (wad.FindObject(slotId)) {
        return Refuse(AlreadyExistsMessage(slotId));
    }
    Edit edit = Begin(wad, object);
    wad.m_sequences.at(object).slotId = slotId;
    edit.change.After(wad);
    return edit;
}

EditResult DeleteObject(SpriteWad& wad, std::size_t object) {
    const ObjectSequence removed = wad.m_sequences.at(object);
    Edit edit = Begin(wad, object);
    const auto first = wad.m_textures.begin() + removed.firstTexture;
    std::vector<SpriteTexture> textures(std::make_move_iterator(first),
                                        std::make_move_iterator(first + removed.TextureCount()));
    wad.RemoveObject(object);
    // The step takes the textures the wad gave up; nothing is copied.
    edit.change.Removed(wad, removed.firstTexture, std::move(textures));
    edit.change.After(wad);
    return edit;
}

EditResult AddTextures(SpriteWad& wad, std::size_t object, std::vector<SpriteTexture> textures) {
    Edit edit = Begin(wad, object);
    edit.change.Keep(wad, wad.AppendPosition(object), 0);
    edit.firstLine = wad.m_sequences.at(object).TextureCount();
    if (wad.AddTextures(object, textures) < textures.size()) {
        edit.stopped = Refuse(NoRoomMessage());
    }
    edit.lastLine = wad.m_sequences[object].TextureCount() - 1;
    if (edit.lastLine < edit.firstLine && !textures.empty()) {
        return edit.stopped;
    }
    edit.change.After(wad);
    return edit;
}

EditResult AddTexturesToSlot(SpriteWad& wad, std::uint32_t slotId,
                             std::vector<SpriteTexture> textures) {
    if (Status room = RoomForTextures(wad, slotId, textures.size()); !room) {
        return room;
    }
    Edit edit = Begin(wad);
    const std::optional<std::size_t> existing = wad.FindObject(slotId);
    // The room check leaves a first index free, so placing a new object cannot fail here.
    edit.object = existing ? *existing : wad.AddObject(slotId).value();
    edit.change.Keep(wad, wad.AppendPosition(edit.object), 0);
    edit.firstLine = wad.m_sequences[edit.object].TextureCount();
    wad.AddTextures(edit.object, textures);
    edit.lastLine = wad.m_sequences[edit.object].TextureCount() - 1;
    edit.change.After(wad);
    return edit;
}

EditResult ReplaceTexture(SpriteWad& wad, std::size_t object, int line, SpriteTexture texture) {
    if (!HasLine(wad, object, line)) {
        return Refuse("There is no texture " + std::to_string(line) + " to replace.");
    }
    Edit edit = Begin(wad, object, line, line);
    edit.change.Keep(wad, TextureIndex(wad, object, line), 1);
    wad.ReplaceTexture(object, line, std::move(texture));
    edit.change.After(wad);
    return edit;
}

EditResult DeleteTexture(SpriteWad& wad, std::size_t object, int line) {
    if (!HasLine(wad, object, line)) {
        return Refuse("There is no texture " + std::to_string(line) + " to delete.");
    }
    Edit edit = Begin(wad, object, line, line - 1);
    const std::size_t at = TextureIndex(wad, object, line);
    std::vector<SpriteTexture> taken;
    taken.push_back(*wad.RemoveTexture(object, line));
    edit.change.Removed(wad, at, std::move(taken));
    edit.change.After(wad);
    return edit;
}

EditResult MoveTextures(SpriteWad& wad, std::size_t object, int first, int last, int to) {
    if (first > last) {
        return Refuse("The first line " + std::to_string(first) + " comes after the last line " +
                      std::to_string(last) + ".");
    }
    if (!HasLine(wad, object, first) || !HasLine(wad, object, last)) {
        return NotAllInObject(wad, object, first, last);
    }
    const int length = last - first + 1;
    const int lastStart = wad.ObjectTextureCount(object) - length;
    if (to < 0 || to > lastStart) {
        return Refuse("Lines " + std::to_string(first) + " to " + std::to_string(last) +
                      " can start only at lines 0 to " + std::to_string(lastStart) +
                      " of the object, not at line " + std::to_string(to) + ".");
    }
    // The lines the run passes change places with it: moving it towards the front rotates
    // them behind it, towards the back in front of it.
    Edit edit = Begin(wad, object, std::min(first, to), std::max(last, to + length - 1));
    const std::size_t begin = TextureIndex(wad, object, edit.firstLine);
    const std::size_t middle = TextureIndex(wad, object, to < first ? first : last + 1);
    const std::size_t end = TextureIndex(wad, object, edit.lastLine) + 1;
    const auto at = [&wad](std::size_t index) {
        return wad.m_textures.begin() + static_cast<std::ptrdiff_t>(index);
    };
    std::rotate(at(begin), at(middle), at(end));
    edit.change.Rotated(begin, middle, end);
    edit.change.After(wad);
    return edit;
}

EditResult ResizeTextures(SpriteWad& wad, std::size_t object, int first, int last,
                          const ResizeRequest& request) {
    Edit edit = Begin(wad, object, first, last);
    if (first > last) {
        edit.change.After(wad);
        return edit;
    }
    if (!HasLine(wad, object, first) || !HasLine(wad, object, last)) {
        return NotAllInObject(wad, object, first, last);
    }
    edit.change.Keep(wad, TextureIndex(wad, object, first),
                     static_cast<std::size_t>(last - first + 1));
    for (int line = first; line <= last; ++line) {
        SpriteTexture& texture = wad.ObjectTexture(object, line);
        const TextureSize size =
            RangeTargetSize(texture.GetWidth(), texture.GetHeight(), request.boxWidth,
                            request.boxHeight, request.keepAspect);
        ResizeTexture(texture, size.width, size.height, request.filter);
    }
    edit.change.After(wad);
    return edit;
}

} // namespace edits
