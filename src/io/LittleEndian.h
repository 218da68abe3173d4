#pragma once

#include <cstddef>
#include <cstdint>

// The files the program reads and writes store their numbers little-endian, whatever the
// processor: these read and write them a byte at a time.
namespace io {

inline std::uint16_t LoadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t LoadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The low `count` bytes of v, lowest first.
inline void StoreLE(std::uint8_t* p, std::uint32_t v, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
    StoreLE(p, v, 2);
}

inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
    StoreLE(p, v, 4);
}

} // namespace io
