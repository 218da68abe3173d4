#include "support/Fixtures.h"

#include "io/LittleEndian.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace fixtures {

SpriteTexture MakeTexture(int width, int height, std::uint32_t seed) {
    SpriteTexture texture;
    texture.Create(width, height);
    std::uint8_t* p = texture.GetBits();
    for (std::uint32_t y = 0; y < static_cast<std::uint32_t>(height); ++y) {
        for (std::uint32_t x = 0; x < static_cast<std::uint32_t>(width); ++x) {
            const std::uint32_t v = seed * 2654435761u + y * 40503u + x * 977u;
            *p++ = static_cast<std::uint8_t>(v);
            *p++ = static_cast<std::uint8_t>(v >> 8);
            *p++ = static_cast<std::uint8_t>(v >> 16 ^ seed);
        }
    }
    return texture;
}

SpriteWad GeneratedSet(int count, int maxSide, std::uint32_t seed) {
    SpriteWad wad;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> side(1, maxSide);
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(count); ++i) {
        const int width = side(rng);
        wad.m_textures.push_back(MakeTexture(width, side(rng), seed + i));
    }
    std::uint32_t slot = 460;
    for (int first = 0; first < count;) {
        const int size = slot == 460 ? 4 : slot == 463 ? 33 : SpriteWad::kMaxObjectTextures;
        const int n = std::min(size, count - first);
        wad.m_sequences.push_back(
            {slot, static_cast<std::int16_t>(-n), static_cast<std::uint16_t>(first)});
        first += n;
        slot = slot == 460 ? 463 : slot + 1;
    }
    return wad;
}

Pixel PixelAt(const BTCImageData& image, int x, int y) {
    const std::uint8_t* p = image.GetBits() + y * image.GetRowSize() + x * 3;
    return {p[0], p[1], p[2]};
}

std::filesystem::path RealSwdDir() {
    std::error_code ec;
    return std::filesystem::is_directory(VORNIX_REAL_SWD_DIR, ec) ? VORNIX_REAL_SWD_DIR : "";
}

TempDir::TempDir() {
    // A fresh name each time; creating the folder fails when the name is taken. The folder
    // gets the usual permissions, so a test that gives up the superuser's rights for a while
    // still reaches its files.
    std::random_device seed;
    std::mt19937_64 rng(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto path = std::filesystem::temp_directory_path() /
                          ("vornix-test-" + std::to_string(rng() % 1000000000000u));
        if (std::filesystem::create_directory(path)) {
            m_path = path;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

PrivateSettingsHome::PrivateSettingsHome() {
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
        const std::filesystem::path home = m_dir / variable;
        std::filesystem::create_directory(home);
#ifdef _WIN32
        _putenv_s(variable, home.string().c_str());
#else
        ::setenv(variable, home.c_str(), 1);
#endif
    }
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write fixture " + path.string());
    }
}

std::vector<std::string> Tree(const std::filesystem::path& root) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
        std::string name = std::filesystem::relative(item.path(), root).string();
        names.push_back(item.is_directory() ? name + "/" : name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void PutLE(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    out.resize(out.size() + static_cast<std::size_t>(bytes));
    io::StoreLE(out.data() + out.size() - static_cast<std::size_t>(bytes), v,
                static_cast<std::size_t>(bytes));
}

SwdBuilder& SwdBuilder::Entry(std::uint8_t x, std::uint8_t y, std::uint16_t page, int width,
                              int height) {
    m_entries.insert(m_entries.end(), {x, y});
    PutLE(m_entries, page, 2);
    PutLE(m_entries, static_cast<std::uint32_t>(width - 1) << 8 |
                         static_cast<std::uint32_t>(height - 1) << 24);
    m_entries.resize(m_entries.size() + 8);
    return *this;
}

SwdBuilder& SwdBuilder::Page(const TexturePage& page) {
    const std::uint8_t* p = page.GetBits();
    for (std::size_t i = 0; i < page.GetImageSize(); i += 3) {
        m_pages.insert(m_pages.end(), {p[i + 2], p[i + 1], p[i]});
    }
    return *this;
}

SwdBuilder& SwdBuilder::Sequence(std::uint32_t slotId, std::int16_t negCount, std::uint16_t first) {
    PutLE(m_sequences, slotId);
    PutLE(m_sequences, static_cast<std::uint16_t>(negCount), 2);
    PutLE(m_sequences, first, 2);
    return *this;
}

std::vector<std::uint8_t> SwdBuilder::Build() const {
    std::vector<std::uint8_t> out;
    PutLE(out, m_version);
    // Each block follows its count: the stated one when given, else the real one.
    for (const auto& [stated, real, block] :
         {std::tuple{m_statedE, m_entries.size() / 16, &m_entries},
          {m_statedD, m_pages.size(), &m_pages},
          {m_statedS, m_sequences.size() / 8, &m_sequences}}) {
        PutLE(out,
              static_cast<std::uint32_t>(stated >= 0 ? static_cast<std::size_t>(stated) : real));
        out.insert(out.end(), block->begin(), block->end());
    }
    out.insert(out.end(), m_tail.begin(), m_tail.end());
    return out;
}

SwdBuilder SmallWad() {
    return SwdBuilder()
        .Entry(0, 0, 0, 64, 64)
        .Entry(64, 0, 0, 32, 16)
        .Entry(10, 200, 1, 56, 56)
        .Entry(255, 255, 1, 1, 1)
        .Entry(0, 100, 0, 256, 3)
        .Page(MakeTexture(256, 256, 1))
        .Page(MakeTexture(256, 256, 2))
        .Sequence(463, -3, 2)
        .Sequence(460, -2, 0)
        .Sequence(494, 0, 5);
}

} // namespace fixtures
