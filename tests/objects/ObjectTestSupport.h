#pragma once

#include "model/SpriteWad.h"
#include "support/Fixtures.h"

#include <sstream>
#include <string>

namespace objtest {

// A wad of objects written "slot:count@first ..." over as many textures as the runs hold;
// texture i is 1 + i % 7 pixels wide and has seed i, so moved or lost textures show.
inline SpriteWad MakeWad(const std::string& objects) {
    SpriteWad wad;
    std::istringstream in(objects);
    std::uint32_t slot = 0;
    int count = 0, held = 0;
    std::uint16_t first = 0;
    char sign = 0;
    while (in >> slot >> sign >> count >> sign >> first) {
        wad.m_sequences.push_back({});
        wad.m_sequences.back().slotId = slot;
        wad.m_sequences.back().SetTextureCount(count);
        wad.m_sequences.back().firstTexture = first;
        held += count;
    }
    for (int i = 0; i < held; ++i) {
        wad.m_textures.push_back(
            fixtures::MakeTexture(1 + i % 7, 2, static_cast<std::uint32_t>(i)));
    }
    return wad;
}

// The objects in MakeWad's notation.
inline std::string Layout(const SpriteWad& wad) {
    std::string out;
    for (const ObjectSequence& s : wad.m_sequences) {
        out += (out.empty() ? "" : " ") + std::to_string(s.slotId) + ":" +
               std::to_string(s.TextureCount()) + "@" + std::to_string(s.firstTexture);
    }
    return out;
}

} // namespace objtest
