#pragma once

#include "model/SpriteWad.h"
#include "support/Fixtures.h"

#include <cstdint>
#include <vector>

namespace objtest {

struct Obj {
    std::uint32_t slot;
    int count;
    std::uint16_t first;
};

// A wad of the given objects over `textures` textures; texture i is 1 + i % 7 pixels wide and
// has seed i, so moved or lost textures show.
inline SpriteWad MakeWad(const std::vector<Obj>& objs, int textures) {
    SpriteWad wad;
    for (const Obj& o : objs) {
        ObjectSequence s;
        s.slotId = o.slot;
        s.SetTextureCount(o.count);
        s.firstTexture = o.first;
        wad.m_sequences.push_back(s);
    }
    for (int i = 0; i < textures; ++i) {
        wad.m_textures.push_back(
            fixtures::MakeTexture(1 + i % 7, 2, static_cast<std::uint32_t>(i)));
    }
    return wad;
}

inline std::vector<Obj> Objects(const SpriteWad& wad) {
    std::vector<Obj> out;
    for (const ObjectSequence& s : wad.m_sequences) {
        out.push_back({s.slotId, s.TextureCount(), s.firstTexture});
    }
    return out;
}

inline bool operator==(const Obj& a, const Obj& b) {
    return a.slot == b.slot && a.count == b.count && a.first == b.first;
}

inline void PrintTo(const Obj& o, std::ostream* os) {
    *os << "{" << o.slot << ", " << o.count << ", " << o.first << "}";
}

// Everything the document holds, to prove that a refusal changed nothing.
inline bool SameDocument(const SpriteWad& a, const SpriteWad& b) {
    return a.m_sequences == b.m_sequences && a.m_textures == b.m_textures;
}

} // namespace objtest
