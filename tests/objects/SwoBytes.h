#pragma once

#include "model/SpriteWad.h"

#include <cstdint>
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
    compress2(stream.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    stream.resize(size);
    return {t.GetWidth(), t.GetHeight(), static_cast<std::uint32_t>(raw.size()), stream};
}

inline Bytes File(std::uint16_t id, const std::vector<Record>& records) {
    Bytes out{'S', 'W', 'D', 'O'};
    Put(out, id, 2);
    Put(out, static_cast<std::uint32_t>(records.size()), 2);
    for (const Record& r : records) {
        Put(out, static_cast<std::uint32_t>((r.width - 1) | (r.height - 1) << 8), 2);
        Put(out, r.pixelBytes, 4);
        Put(out, static_cast<std::uint32_t>(r.stream.size()), 4);
        out.insert(out.end(), r.stream.begin(), r.stream.end());
    }
    return out;
}

} // namespace swotest
