#pragma once

#include "document/SpriteWad.h"
#include "io/Status.h"
#include "packing/PackTextures.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Saving a document: every texture packed afresh onto pages, then the file written atomically.
// The editor's Save As SWD and every command of vornix-cli that writes a wad save through here.

// The first object without textures, which a save refuses, or nothing.
std::optional<std::size_t> FirstEmptyObject(const SpriteWad& wad);
// "<NAME> contains no textures, please add 1 or more,\nor delete the <slot>: <NAME> object
// first before saving..."
std::string EmptyObjectMessage(std::uint32_t slotId);

// Refuses a wad with an empty object (with EmptyObjectMessage), packs its textures onto fresh
// pages and writes it to `path`. Packing follows `callbacks`; a cancel before the write begins
// writes nothing (Fault::Cancelled), one after it lets it finish. Fills the wad's pages and
// entries, nothing else of it.
Status SaveWad(SpriteWad& wad, const std::string& path, const PackCallbacks& callbacks = {});
