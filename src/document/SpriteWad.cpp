#include "document/SpriteWad.h"

#include "document/ObjectSlotNames.h"

#include <algorithm>
#include <utility>

void SpriteWad::Clear() {
    ClearScratch();
    m_sequences = {};
    m_textures = {};
}

void SpriteWad::ClearScratch() {
    m_entries = {};
    m_pages = {};
}

std::optional<std::size_t> SpriteWad::FindObject(std::uint32_t slotId) const {
    for (std::size_t i = 0; i < m_sequences.size(); ++i) {
        if (m_sequences[i].slotId == slotId) {
            return i;
        }
    }
    return std::nullopt;
}

int SpriteWad::ObjectTextureCount(std::size_t object) const {
    const ObjectSequence& sequence = m_sequences.at(object);
    const std::size_t held =
        m_textures.size() - std::min<std::size_t>(sequence.firstTexture, m_textures.size());
    return static_cast<int>(std::min<std::size_t>(sequence.TextureCount(), held));
}

const SpriteTexture& SpriteWad::ObjectTexture(std::size_t object, int line) const {
    return m_textures.at(m_sequences.at(object).firstTexture + static_cast<std::size_t>(line));
}

SpriteTexture& SpriteWad::ObjectTexture(std::size_t object, int line) {
    return m_textures.at(m_sequences.at(object).firstTexture + static_cast<std::size_t>(line));
}

bool SpriteWad::AddTexture(std::size_t object, SpriteTexture texture) {
    std::vector<SpriteTexture> one;
    one.push_back(std::move(texture));
    return AddTextures(object, one) == 1;
}

std::size_t SpriteWad::AddTextures(std::size_t object, std::vector<SpriteTexture>& textures) {
    ObjectSequence& target = m_sequences.at(object);
    const int count = target.TextureCount();
    const std::size_t wadRoom = kMaxTextures - std::min(m_textures.size(), kMaxTextures);
    const std::size_t added =
        std::min({textures.size(), static_cast<std::size_t>(kMaxObjectTextures - count), wadRoom});
    if (added == 0) {
        return 0;
    }
    const std::size_t at = AppendPosition(object);
    // An empty object that starts inside another object's run starts behind that run now.
    if (count == 0 && at > target.firstTexture) {
        target.firstTexture = static_cast<std::uint16_t>(at);
    }
    const std::size_t first = target.firstTexture;
    const auto from = textures.begin();
    m_textures.insert(m_textures.begin() + static_cast<std::ptrdiff_t>(at),
                      std::make_move_iterator(from),
                      std::make_move_iterator(from + static_cast<std::ptrdiff_t>(added)));
    target.SetTextureCount(count + static_cast<int>(added));
    // Runs at or after the insertion point move up. An empty object that marks the start of
    // this run moves behind it: moving it up by less would leave it pointing into this run,
    // and its next texture would split the run in two.
    // Objects are told apart by position, not slot number, so a wad read with a repeated
    // slot number still keeps its runs apart.
    for (std::size_t j = 0; j < m_sequences.size(); ++j) {
        std::uint16_t& start = m_sequences[j].firstTexture;
        if (j == object || start < first) {
            continue;
        }
        start = static_cast<std::uint16_t>((start >= at ? start : at) + added);
    }
    return added;
}

std::size_t SpriteWad::AppendPosition(std::size_t object) const {
    const ObjectSequence& target = m_sequences.at(object);
    const int count = target.TextureCount();
    std::size_t first = target.firstTexture;
    // A file may hold an empty object that starts inside another object's run; its first
    // texture goes behind that run rather than splitting it.
    if (count == 0) {
        for (const ObjectSequence& other : m_sequences) {
            const int otherCount = other.TextureCount();
            if (other.firstTexture < target.firstTexture &&
                target.firstTexture < other.firstTexture + otherCount) {
                first = other.firstTexture + static_cast<std::size_t>(otherCount);
                break;
            }
        }
    }
    return std::min(first + static_cast<std::size_t>(count), m_textures.size());
}

std::optional<SpriteTexture> SpriteWad::RemoveTexture(std::size_t object, int line) {
    ObjectSequence& target = m_sequences.at(object);
    const int count = target.TextureCount();
    const std::size_t first = target.firstTexture;
    if (line < 0 || line >= count || first + static_cast<std::size_t>(line) >= m_textures.size()) {
        return std::nullopt;
    }
    const auto at = m_textures.begin() + static_cast<std::ptrdiff_t>(first + line);
    SpriteTexture removed = std::move(*at);
    m_textures.erase(at);
    target.SetTextureCount(count - 1);
    for (std::size_t j = 0; j < m_sequences.size(); ++j) {
        if (j != object && m_sequences[j].firstTexture > first) {
            --m_sequences[j].firstTexture;
        }
    }
    return removed;
}

std::optional<SpriteTexture> SpriteWad::ReplaceTexture(std::size_t object, int line,
                                                       SpriteTexture texture) {
    const ObjectSequence& target = m_sequences.at(object);
    const std::size_t index = target.firstTexture + static_cast<std::size_t>(line);
    if (line < 0 || line >= target.TextureCount() || index >= m_textures.size()) {
        return std::nullopt;
    }
    return std::exchange(m_textures[index], std::move(texture));
}

void SpriteWad::RemoveObject(std::size_t object) {
    const ObjectSequence removed = m_sequences.at(object);
    const std::size_t first = removed.firstTexture;
    const int count = removed.TextureCount();
    const auto begin = m_textures.begin() + static_cast<std::ptrdiff_t>(first);
    m_textures.erase(begin, begin + count);
    m_sequences.erase(m_sequences.begin() + static_cast<std::ptrdiff_t>(object));
    // Later runs move down; an empty object that started inside the removed run starts
    // where it was.
    for (ObjectSequence& other : m_sequences) {
        if (other.firstTexture > first) {
            other.firstTexture = static_cast<std::uint16_t>(
                std::max(other.firstTexture - count, static_cast<int>(first)));
        }
    }
}

std::optional<std::size_t> SpriteWad::AddObject(std::uint32_t slotId) {
    if (slotId != kSkyGraphicsSlot && slotId != kDefaultSpritesSlot) {
        return AppendObject(slotId);
    }
    ObjectSequence sequence;
    sequence.slotId = slotId;
    const std::size_t position =
        slotId == kDefaultSpritesSlot && FindObject(kSkyGraphicsSlot) ? 1 : 0;
    m_sequences.insert(m_sequences.begin() + static_cast<std::ptrdiff_t>(position), sequence);
    return position;
}

std::optional<std::size_t> SpriteWad::AppendObject(std::uint32_t slotId) {
    if (m_textures.size() > kMaxTextures) {
        return std::nullopt;
    }
    ObjectSequence sequence;
    sequence.slotId = slotId;
    sequence.firstTexture = static_cast<std::uint16_t>(m_textures.size());
    m_sequences.push_back(sequence);
    return m_sequences.size() - 1;
}

bool SpriteWad::RunsAreValid(bool allowEmptyInsideRuns) const {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (const ObjectSequence& s : m_sequences) {
        const std::size_t first = s.firstTexture;
        const std::size_t end = first + static_cast<std::size_t>(s.TextureCount());
        if (end > m_textures.size()) {
            return false;
        }
        if (end > first) {
            runs.emplace_back(first, end);
        }
    }
    std::sort(runs.begin(), runs.end());
    for (std::size_t i = 1; i < runs.size(); ++i) {
        if (runs[i].first < runs[i - 1].second) {
            return false;
        }
    }
    if (allowEmptyInsideRuns) {
        return true;
    }
    // An empty object may start anywhere but inside another run: its first texture would
    // land in the middle of that run.
    for (const ObjectSequence& s : m_sequences) {
        if (s.TextureCount() != 0) {
            continue;
        }
        for (const auto& [first, end] : runs) {
            if (s.firstTexture > first && s.firstTexture < end) {
                return false;
            }
        }
    }
    return true;
}
