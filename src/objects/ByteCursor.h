#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Reads little-endian fields from a block of bytes and never past its end: every read checks
// what is left first and fails, without moving, when the block is too short.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Offset() const { return m_offset; }
    std::size_t Remaining() const { return m_bytes.size() - m_offset; }

    bool ReadU32(std::uint32_t& value) {
        if (Remaining() < 4) {
            return false;
        }
        const std::uint8_t* p = m_bytes.data() + m_offset;
        value = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        m_offset += 4;
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
