#pragma once

#include "formats/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
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

// A document as another file loads, to see that failed reads leave it alone.
inline SpriteWad LoadedDocument() {
    SpriteWad wad;
    wad.m_textures = {fixtures::MakeTexture(7, 9, 77)};
    wad.m_sequences = {{470, -1, 0}};
    return wad;
}

// A sprite of a file's page block, cut and turned to B,G,R by a plain pixel walk.
inline SpriteTexture CutFromFile(const std::vector<std::uint8_t>& file, std::size_t pageOffset,
                                 int page, int x, int y, int width, int height) {
    SpriteTexture t;
    t.Create(width, height);
    std::uint8_t* out = t.GetBits();
    for (int row = 0; row < height; ++row) {
        const std::size_t at = pageOffset + static_cast<std::size_t>(page) * kPageBytes +
                               static_cast<std::size_t>((y + row) * 256 + x) * 3;
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * 3; ++i) {
            *out++ = file.at(at + i / 3 * 3 + 2 - i % 3);
        }
    }
    return t;
}

// The wad a file holds, with its entries and pages taken straight from the file's bytes as
// though the packer had laid them out so: writing it must give the file back.
inline SpriteWad WithFileLayout(const std::vector<std::uint8_t>& file) {
    SpriteWad wad;
    swd::SwdFileInfo info;
    EXPECT_TRUE(swd::ReadSwd(file, wad, &info).ok());
    static_assert(std::endian::native == std::endian::little && sizeof(SpriteEntry) == 16);
    wad.m_entries.resize(info.entryCount);
    std::memcpy(wad.m_entries.data(), file.data() + 8, 16 * wad.m_entries.size());
    for (int p = 0; p < static_cast<int>(info.pageCount); ++p) {
        wad.m_pages.push_back(CutFromFile(file, PageOffset(info.entryCount), p, 0, 0, 256, 256));
    }
    return wad;
}

} // namespace swdtest
