#include "edits/ObjectOperations.h"

#include "document/ObjectSlotNames.h"

#include <algorithm>
#include <optional>

namespace objects {

namespace {

std::string FullMessage(const SpriteWad& wad) {
    return "No object can be added: a new object would start at texture " +
           std::to_string(wad.TextureCount()) + ", past the " +
           std::to_string(SpriteWad::kMaxTextures) + " a sprite wad can address.";
}

} // namespace

int PreselectedChoice(const SpriteWad& wad) {
    if (wad.ObjectCount() == 0) {
        return kDefaultSpritesChoice;
    }
    if (!wad.FindObject(kSkyGraphicsSlot)) {
        return kSkyGraphicsChoice;
    }
    if (!wad.FindObject(kDefaultSpritesSlot)) {
        return kDefaultSpritesChoice;
    }
    return kCustomSpritesChoice;
}

int ChoiceOfSlot(std::uint32_t slotId) {
    const auto fixed = std::find(kChoiceSlots.begin(), kChoiceSlots.end(), slotId);
    return fixed != kChoiceSlots.end() ? static_cast<int>(fixed - kChoiceSlots.begin())
                                       : kCustomObjectIdChoice;
}

std::uint32_t SlotOfChoice(int choice, std::uint32_t typedId) {
    return choice >= 0 && choice < static_cast<int>(kChoiceSlots.size())
               ? kChoiceSlots[static_cast<std::size_t>(choice)]
               : typedId;
}

std::string AlreadyExistsMessage(std::uint32_t slotId) {
    return std::to_string(slotId) + ": " + LookupSlotName(slotId) +
           " already exist, choose another";
}

AddedObject AddObject(SpriteWad& wad, int choice, std::uint32_t typedId) {
    const std::uint32_t slotId = SlotOfChoice(choice, typedId);
    if (wad.FindObject(slotId)) {
        return {AddedObject::Status::Duplicate, AlreadyExistsMessage(slotId)};
    }
    // An id of 460 or 463 typed as a custom id is appended like any other.
    const std::optional<std::size_t> position =
        choice == kSkyGraphicsChoice || choice == kDefaultSpritesChoice ? wad.AddObject(slotId)
                                                                        : wad.AppendObject(slotId);
    if (!position) {
        return {AddedObject::Status::Full, FullMessage(wad)};
    }
    return {AddedObject::Status::Added, {}, *position};
}

EditedObject EditObject(SpriteWad& wad, std::size_t object, int choice, std::uint32_t typedId) {
    const std::uint32_t slotId = SlotOfChoice(choice, typedId);
    if (wad.FindObject(slotId)) {
        return {AlreadyExistsMessage(slotId)};
    }
    ObjectSequence& sequence = wad.m_sequences.at(object);
    EditedObject edited{{}, sequence.slotId};
    sequence.slotId = slotId;
    return edited;
}

RemovedObject DeleteObject(SpriteWad& wad, std::size_t object) {
    RemovedObject removed{object, wad.m_sequences.at(object), {}};
    const auto first = wad.m_textures.begin() + removed.sequence.firstTexture;
    removed.textures.assign(std::make_move_iterator(first),
                            std::make_move_iterator(first + removed.sequence.TextureCount()));
    wad.RemoveObject(object);
    return removed;
}

ImportTarget PrepareImport(SpriteWad& wad, std::uint32_t slotId, std::size_t count) {
    const std::optional<std::size_t> existing = wad.FindObject(slotId);
    const std::size_t had = existing ? wad.m_sequences[*existing].TextureCount() : 0;
    if (had + count > static_cast<std::size_t>(SpriteWad::kMaxObjectTextures)) {
        return {"Object " + std::to_string(slotId) + ": " + LookupSlotName(slotId) +
                " cannot take " + std::to_string(count) + " more textures: it holds " +
                std::to_string(had) + ", and an object holds at most " +
                std::to_string(SpriteWad::kMaxObjectTextures) + "."};
    }
    if (wad.TextureCount() + count > SpriteWad::kMaxTextures) {
        return {"The sprite wad cannot take " + std::to_string(count) +
                " more textures: it holds " + std::to_string(wad.TextureCount()) +
                ", and a sprite wad holds at most " + std::to_string(SpriteWad::kMaxTextures) +
                "."};
    }
    if (existing) {
        return {{}, *existing, false};
    }
    // The count check above leaves room for a first index, so placing cannot fail here.
    return {{}, wad.AddObject(slotId).value(), true};
}

ImportedObject ImportTextures(SpriteWad& wad, std::uint32_t slotId,
                              std::vector<SpriteTexture> textures) {
    ImportedObject imported{PrepareImport(wad, slotId, textures.size()), 0};
    if (!imported.target.ok()) {
        return imported;
    }
    for (SpriteTexture& texture : textures) {
        if (!wad.AddTexture(imported.target.position, std::move(texture))) {
            break;
        }
        ++imported.added;
    }
    return imported;
}

} // namespace objects
