#pragma once

#include "document/SpriteWad.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fixtures {

// A texture whose every pixel depends on (seed, x, y), so that swapped, shifted or
// mis-cut pixels show.
SpriteTexture MakeTexture(int width, int height, std::uint32_t seed);

// The B,G,R bytes of one pixel.
using Pixel = std::array<std::uint8_t, 3>;
Pixel PixelAt(const BTCImageData& image, int x, int y);

// A document of `count` textures with sides drawn from 1..maxSide, in objects 460 (four
// textures), 463 (33) and then 464, 465, ... holding the rest, at most 32767 each. The same
// arguments always give the same document.
SpriteWad GeneratedSet(int count, int maxSide, std::uint32_t seed);

// The folder of real sprite wads, or an empty path when it is not there (tests then skip).
std::filesystem::path RealSwdDir();

// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Points XDG_CONFIG_HOME and XDG_STATE_HOME at fresh empty folders of its own while it lives,
// so that no user's settings reach a test or a benchmark and none are left behind. Made at the
// top of main(), before anything reads the environment.
class PrivateSettingsHome {
public:
    PrivateSettingsHome();

private:
    TempDir m_dir;
};

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
// Appends v in `bytes` little-endian bytes, as the file formats store numbers.
void PutLE(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes = 4);
// Every path below root, relative and sorted, folders with a trailing slash.
std::vector<std::string> Tree(const std::filesystem::path& root);

// Assembles SWD bytes field by field, independently of the program's writer, so that tests
// of the reader do not trust the code they test. Pages are given in memory order (B,G,R).
class SwdBuilder {
public:
    SwdBuilder& Version(std::uint32_t v) { return m_version = v, *this; }
    SwdBuilder& Entry(std::uint8_t x, std::uint8_t y, std::uint16_t page, int width, int height);
    SwdBuilder& Page(const TexturePage& page);
    SwdBuilder& Sequence(std::uint32_t slotId, std::int16_t negCount, std::uint16_t first);
    // Overrides the stated counts, for damaged files.
    SwdBuilder& StatedEntryCount(std::uint32_t e) { return m_statedE = e, *this; }
    SwdBuilder& StatedPageBytes(std::uint32_t d) { return m_statedD = d, *this; }
    SwdBuilder& StatedSequenceCount(std::uint32_t s) { return m_statedS = s, *this; }
    SwdBuilder& Tail(std::vector<std::uint8_t> bytes) { return m_tail = std::move(bytes), *this; }
    std::vector<std::uint8_t> Build() const;

private:
    std::uint32_t m_version = 129;
    std::vector<std::uint8_t> m_entries, m_pages, m_sequences, m_tail;
    std::int64_t m_statedE = -1, m_statedD = -1, m_statedS = -1;
};

// A small but complete wad: two pages (seeds 1 and 2), five sprites of different sizes
// (64x64, 32x16 on page 0; 56x56, 1x1 on page 1; 256x3 on page 0) and three objects whose
// runs are not in object order: 463 owns sprites 2..4, 460 owns 0..1, 494 is empty.
SwdBuilder SmallWad();

} // namespace fixtures
