#pragma once

#include "model/SpriteWad.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>
#include <zlib.h>

// SWO bytes assembled field by field with zlib directly, so that tests of the reader and the
// writer do not trust the code they test.
namespace swotest {

using Bytes = std::vector<std::uint8_t>;

inline void Put(Bytes& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

inline Bytes Header(const std::string& magic, std::uint16_t id, std::uint16_t count) {
    Bytes out(magic.begin(), magic.end());
    Put(out, id, 2);
    Put(out, count, 2);
    return out;
}

struct Record {
    int width, height;
    std::uint32_t pixelBytes;
    Bytes stream;
};

// The record of a texture whose rows are padded with zeros to rowBytes, compressed at level 9.
inline Record RecordOf(const SpriteTexture& t, std::size_t rowBytes) {
    Bytes raw;
    for (int y = 0; y < t.GetHeight(); ++y) {
        const std::uint8_t* row = t.GetBits() + y * t.GetRowSize();
        raw.insert(raw.end(), row, row + t.GetRowSize());
        raw.resize(raw.size() + rowBytes - t.GetRowSize(), 0);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes stream(size);
    if (compress2(stream.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        throw std::runtime_error("compress2 failed");
    }
    stream.resize(size);
    return {t.GetWidth(), t.GetHeight(), static_cast<std::uint32_t>(raw.size()), stream};
}

inline Bytes File(std::uint16_t id, const std::vector<Record>& records) {
    Bytes out = Header("SWDO", id, static_cast<std::uint16_t>(records.size()));
    for (const Record& r : records) {
        out.push_back(static_cast<std::uint8_t>(r.width - 1));
        out.push_back(static_cast<std::uint8_t>(r.height - 1));
        Put(out, r.pixelBytes, 4);
        Put(out, static_cast<std::uint32_t>(r.stream.size()), 4);
        out.insert(out.end(), r.stream.begin(), r.stream.end());
    }
    return out;
}

} // namespace swotest
