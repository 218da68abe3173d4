#pragma once

#include "model/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace swdtest {

inline constexpr std::size_t kPageBytes = 256 * 256 * 3;

// Offset of the first page byte in a file with `entries` sprite entries.
inline std::size_t PageOffset(std::size_t entries) {
    return 12 + 16 * entries;
}

// A document loaded from a different file, to see that failed reads leave it alone.
inline SpriteWad LoadedDocument() {
    fixtures::SwdBuilder b;
    b.Entry(3, 4, 0, 7, 9).Page(fixtures::MakeTexture(256, 256, 77)).Sequence(470, -1, 0);
    SpriteWad wad;
    const auto bytes = b.Build();
    EXPECT_TRUE(swd::ReadSwd(bytes, wad).ok());
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

} // namespace swdtest
