#include "support/Fixtures.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fixtures {

SpriteTexture MakeTexture(int width, int height, std::uint32_t seed) {
    SpriteTexture texture;
    if (!texture.Create(width, height)) {
        throw std::runtime_error("bad fixture size");
    }
    std::uint8_t* p = texture.GetBits();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = seed * 2654435761u + static_cast<std::uint32_t>(y) * 40503u +
                                    static_cast<std::uint32_t>(x) * 977u;
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
    for (int i = 0; i < count; ++i) {
        const int width = side(rng);
        wad.m_textures.push_back(
            MakeTexture(width, side(rng), seed + static_cast<std::uint32_t>(i)));
    }
    std::uint32_t slot = 460;
    for (int first = 0; first < count;) {
        const int size = slot == 460 ? 4 : slot == 463 ? 33 : SpriteWad::kMaxObjectTextures;
        const int n = std::min(size, count - first);
        ObjectSequence sequence{};
        sequence.slotId = slot;
        sequence.SetTextureCount(n);
        sequence.firstTexture = static_cast<std::uint16_t>(first);
        wad.m_sequences.push_back(sequence);
        first += n;
        slot = slot == 460 ? 463 : slot + 1;
    }
    return wad;
}

std::array<std::uint8_t, 3> PixelAt(const BTCImageData& image, int x, int y) {
    const std::uint8_t* p = image.GetBits() + y * image.GetRowSize() + x * 3;
    return {p[0], p[1], p[2]};
}

std::filesystem::path RealSwdDir() {
    std::filesystem::path dir = VORNIX_REAL_SWD_DIR;
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        return {};
    }
    return dir;
}

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("vornix-test-" + std::to_string(rd()) + std::to_string(attempt));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
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

namespace {
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}
void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
} // namespace

SwdBuilder& SwdBuilder::Version(std::uint32_t v) {
    m_version = v;
    return *this;
}

SwdBuilder& SwdBuilder::Entry(std::uint8_t x, std::uint8_t y, std::uint16_t page, int width,
                              int height) {
    m_entries.push_back(x);
    m_entries.push_back(y);
    PutU16(m_entries, page);
    m_entries.push_back(0);
    m_entries.push_back(static_cast<std::uint8_t>(width - 1));
    m_entries.push_back(0);
    m_entries.push_back(static_cast<std::uint8_t>(height - 1));
    PutU32(m_entries, 0);
    PutU32(m_entries, 0);
    return *this;
}

SwdBuilder& SwdBuilder::Page(const TexturePage& page) {
    if (page.GetWidth() != 256 || page.GetHeight() != 256) {
        throw std::runtime_error("a page is 256 x 256");
    }
    const std::uint8_t* p = page.GetBits();
    for (std::size_t i = 0; i < page.GetImageSize(); i += 3) {
        m_pages.push_back(p[i + 2]);
        m_pages.push_back(p[i + 1]);
        m_pages.push_back(p[i]);
    }
    return *this;
}

SwdBuilder& SwdBuilder::Sequence(std::uint32_t slotId, std::int16_t negCount, std::uint16_t first) {
    PutU32(m_sequences, slotId);
    PutU16(m_sequences, static_cast<std::uint16_t>(negCount));
    PutU16(m_sequences, first);
    return *this;
}

SwdBuilder& SwdBuilder::StatedEntryCount(std::uint32_t e) {
    m_statedE = e;
    return *this;
}
SwdBuilder& SwdBuilder::StatedPageBytes(std::uint32_t d) {
    m_statedD = d;
    return *this;
}
SwdBuilder& SwdBuilder::StatedSequenceCount(std::uint32_t s) {
    m_statedS = s;
    return *this;
}
SwdBuilder& SwdBuilder::Tail(std::vector<std::uint8_t> bytes) {
    m_tail = std::move(bytes);
    return *this;
}

std::vector<std::uint8_t> SwdBuilder::Build() const {
    std::vector<std::uint8_t> out;
    PutU32(out, m_version);
    PutU32(out, m_statedE >= 0 ? static_cast<std::uint32_t>(m_statedE)
                               : static_cast<std::uint32_t>(m_entries.size() / 16));
    out.insert(out.end(), m_entries.begin(), m_entries.end());
    PutU32(out, m_statedD >= 0 ? static_cast<std::uint32_t>(m_statedD)
                               : static_cast<std::uint32_t>(m_pages.size()));
    out.insert(out.end(), m_pages.begin(), m_pages.end());
    PutU32(out, m_statedS >= 0 ? static_cast<std::uint32_t>(m_statedS)
                               : static_cast<std::uint32_t>(m_sequences.size() / 8));
    out.insert(out.end(), m_sequences.begin(), m_sequences.end());
    out.insert(out.end(), m_tail.begin(), m_tail.end());
    return out;
}

SwdBuilder SmallWad() {
    SwdBuilder b;
    b.Entry(0, 0, 0, 64, 64)
        .Entry(64, 0, 0, 32, 16)
        .Entry(10, 200, 1, 56, 56)
        .Entry(255, 255, 1, 1, 1)
        .Entry(0, 100, 0, 256, 3)
        .Page(MakeTexture(256, 256, 1))
        .Page(MakeTexture(256, 256, 2))
        .Sequence(463, -3, 2)
        .Sequence(460, -2, 0)
        .Sequence(494, 0, 5);
    return b;
}

} // namespace fixtures
