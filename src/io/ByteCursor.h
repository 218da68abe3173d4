#pragma once

#include "io/LittleEndian.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace io {

// Reads little-endian fields from a block of bytes and never past its end: every read checks
// what is left first and fails, without moving, when the block is too short.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Remaining() const { return m_bytes.size() - m_offset; }

    bool ReadU16(std::uint16_t& value) {
        if (Remaining() < 2) {
            return false;
        }
        value = LoadU16(m_bytes.data() + m_offset);
        m_offset += 2;
        return true;
    }

    // Hands out the next `count` bytes in place.
    bool Take(std::size_t count, std::span<const std::uint8_t>& block) {
        if (Remaining() < count) {
            return false;
        }
        block = m_bytes.subspan(m_offset, count);
        m_offset += count;
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};

} // namespace io
