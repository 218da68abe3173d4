#pragma once

#include "model/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace swdtest {

// The bytes operator new hands out while `call` runs: an upper bound on the memory it takes.
std::size_t BytesAllocatedBy(const std::function<void()>& call);

inline constexpr std::size_t kPageBytes = 256 * 256 * 3;

// Offset of the first page byte in a file with `entries` sprite entries.
inline std::size_t PageOffset(std::size_t entries) {
    return 12 + 16 * entries;
}

inline void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

inline SpriteTexture Cut(const TexturePage& page, int x, int y, int width, int height) {
    SpriteTexture t;
    EXPECT_TRUE(t.Copy(page, x, y, width, height));
    return t;
}

// A document loaded from a different file, to see that failed reads leave it alone.
inline SpriteWad LoadedDocument() {
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwd(fixtures::SwdBuilder()
                                 .Entry(3, 4, 0, 7, 9)
                                 .Page(fixtures::MakeTexture(256, 256, 77))
                                 .Sequence(470, -1, 0)
                                 .Build(),
                             wad)
                    .ok());
    return wad;
}

inline void ExpectSameDocument(const SpriteWad& actual, const SpriteWad& expected) {
    EXPECT_EQ(actual.m_entries, expected.m_entries);
    EXPECT_EQ(actual.m_sequences, expected.m_sequences);
    EXPECT_TRUE(actual.m_pages == expected.m_pages);
    EXPECT_TRUE(actual.m_textures == expected.m_textures);
}

// A sprite of a file's page block, cut and turned to B,G,R by a plain pixel walk.
inline SpriteTexture CutFromFile(const std::vector<std::uint8_t>& file, std::size_t pageOffset,
                                 int page, int x, int y, int width, int height) {
    SpriteTexture t;
    t.Create(width, height);
    std::uint8_t* out = t.GetBits();
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const std::size_t at = pageOffset + static_cast<std::size_t>(page) * kPageBytes +
                                   static_cast<std::size_t>((y + row) * 256 + x + col) * 3;
            *out++ = file.at(at + 2);
            *out++ = file.at(at + 1);
            *out++ = file.at(at);
        }
    }
    return t;
}

// The wad fixtures::SmallWad() describes, as the packer leaves it before a save.
inline SpriteWad SmallWadLaidOut() {
    SpriteWad wad;
    wad.m_entries = {SpriteEntry::At(0, 0, 0, 64, 64), SpriteEntry::At(64, 0, 0, 32, 16),
                     SpriteEntry::At(10, 200, 1, 56, 56), SpriteEntry::At(255, 255, 1, 1, 1),
                     SpriteEntry::At(0, 100, 0, 256, 3)};
    wad.m_pages = {fixtures::MakeTexture(256, 256, 1), fixtures::MakeTexture(256, 256, 2)};
    wad.m_sequences = {{463, -3, 2}, {460, -2, 0}, {494, 0, 5}};
    return wad;
}

} // namespace swdtest
