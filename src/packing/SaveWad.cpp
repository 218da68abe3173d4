#include "packing/SaveWad.h"

#include "document/ObjectSlotNames.h"
#include "formats/SwdFile.h"

std::optional<std::size_t> FirstEmptyObject(const SpriteWad& wad) {
    for (std::size_t i = 0; i < wad.ObjectCount(); ++i) {
        if (wad.m_sequences[i].TextureCount() == 0) {
            return i;
        }
    }
    return std::nullopt;
}

std::string EmptyObjectMessage(std::uint32_t slotId) {
    const std::string name = LookupSlotName(slotId);
    return name + " contains no textures, please add 1 or more,\nor delete the " +
           std::to_string(slotId) + ": " + name + " object first before saving...";
}

Status SaveWad(SpriteWad& wad, const std::string& path, const PackCallbacks& callbacks) {
    if (const std::optional<std::size_t> empty = FirstEmptyObject(wad)) {
        return Status::Failed(Fault::Refused, EmptyObjectMessage(wad.m_sequences[*empty].slotId));
    }
    const Status packed = PackTextures(wad, callbacks);
    if (packed.fault() == Fault::Refused) {
        return packed;
    }
    // A cancel confirmed once the write has begun lets it finish.
    if (packed.fault() == Fault::Cancelled ||
        (callbacks.running != nullptr && callbacks.running->load() == 0)) {
        return Status::Failed(Fault::Cancelled, "Canceled!");
    }
    return swd::WriteSwdFile(path, wad);
}
