#pragma once

#include "model/SpriteWad.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>
#include <zlib.h>

// SWO bytes assembled field by field with zlib directly, so that tests of the reader and the
// writer do not trust the code they test.
namespace swotest {

inline std::vector<std::uint8_t> Header(const std::string& magic, std::uint16_t id,
                                        std::uint16_t count) {
    std::vector<std::uint8_t> out(magic.begin(), magic.end());
    for (const std::uint16_t v : {id, count}) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    return out;
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// The texture's rows, each followed by zero bytes up to rowBytes.
inline std::vector<std::uint8_t> Rows(const SpriteTexture& t, std::size_t rowBytes) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < t.GetHeight(); ++y) {
        const std::uint8_t* row = t.GetBits() + y * t.GetRowSize();
        out.insert(out.end(), row, row + t.GetRowSize());
        out.resize(out.size() + rowBytes - t.GetRowSize(), 0);
    }
    return out;
}

inline std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> raw, int level = 9) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level) != Z_OK) {
        throw std::runtime_error("compress2 failed");
    }
    out.resize(size);
    return out;
}

struct Record {
    int width;
    int height;
    std::uint32_t pixelBytes;
    std::vector<std::uint8_t> stream;
};

// The record of a texture whose rows are rowBytes long.
inline Record RecordOf(const SpriteTexture& t, std::size_t rowBytes) {
    const std::vector<std::uint8_t> raw = Rows(t, rowBytes);
    return {t.GetWidth(), t.GetHeight(), static_cast<std::uint32_t>(raw.size()), Deflate(raw)};
}

inline void Append(std::vector<std::uint8_t>& out, const Record& r) {
    out.push_back(static_cast<std::uint8_t>(r.width - 1));
    out.push_back(static_cast<std::uint8_t>(r.height - 1));
    PutU32(out, r.pixelBytes);
    PutU32(out, static_cast<std::uint32_t>(r.stream.size()));
    out.insert(out.end(), r.stream.begin(), r.stream.end());
}

inline std::vector<std::uint8_t> File(std::uint16_t id, const std::vector<Record>& records) {
    std::vector<std::uint8_t> out = Header("SWDO", id, static_cast<std::uint16_t>(records.size()));
    for (const Record& r : records) {
        Append(out, r);
    }
    return out;
}

} // namespace swotest
