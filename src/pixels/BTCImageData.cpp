#include "pixels/BTCImageData.h"

#include <algorithm>
#include <cstring>
#include <utility>

BTCImageData::BTCImageData(BTCImageData&& other) noexcept
    : m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)),
      m_bits(std::move(other.m_bits)) {
    other.m_bits.clear();
}

BTCImageData& BTCImageData::operator=(BTCImageData&& other) noexcept {
    if (this != &other) {
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_bits = std::move(other.m_bits);
        other.m_bits.clear();
    }
    return *this;
}

bool BTCImageData::Allocate(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        return false;
    }
    m_bits.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    m_width = width;
    m_height = height;
    return true;
}

bool BTCImageData::Create(int width, int height, int bitsPerPixel) {
    if (bitsPerPixel != 24 || !Allocate(width, height)) {
        return false;
    }
    std::fill(m_bits.begin(), m_bits.end(), std::uint8_t{0});
    return true;
}

bool BTCImageData::CreateForOverwrite(int width, int height) {
    return Allocate(width, height);
}

void BTCImageData::DeleteObject() {
    m_bits = {};
    m_width = 0;
    m_height = 0;
}

void BTCImageData::Fill(int x, int y, int width, int height, std::uint32_t colour) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + width, m_width);
    const int bottom = std::min(y + height, m_height);
    if (left >= right || top >= bottom) {
        return;
    }
    const auto blue = static_cast<std::uint8_t>(colour >> 16);
    const auto green = static_cast<std::uint8_t>(colour >> 8);
    const auto red = static_cast<std::uint8_t>(colour);
    for (int row = top; row < bottom; ++row) {
        std::uint8_t* p = m_bits.data() + row * GetRowSize() + static_cast<std::size_t>(left) * 3;
        for (int col = left; col < right; ++col, p += 3) {
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

bool BTCImageData::Copy(const BTCImageData& src, int x, int y, int width, int height) {
    if (width < 1 || height < 1 || x < 0 || y < 0 || x > src.m_width - width ||
        y > src.m_height - height) {
        return false;
    }
    decltype(m_bits) bits(static_cast<std::size_t>(width) * height * 3);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int row = 0; row < height; ++row) {
        std::memcpy(bits.data() + row * rowBytes,
                    src.m_bits.data() + (y + row) * src.GetRowSize() +
                        static_cast<std::size_t>(x) * 3,
                    rowBytes);
    }
    m_bits = std::move(bits);
    m_width = width;
    m_height = height;
    return true;
}

void BTCImageData::Combine(const BTCImageData& src, int x, int y) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + src.m_width, m_width);
    const int bottom = std::min(y + src.m_height, m_height);
    if (left >= right || top >= bottom) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(right - left) * 3;
    for (int row = top; row < bottom; ++row) {
        std::memcpy(m_bits.data() + row * GetRowSize() + static_cast<std::size_t>(left) * 3,
                    src.m_bits.data() + (row - y) * src.GetRowSize() +
                        static_cast<std::size_t>(left - x) * 3,
                    rowBytes);
    }
}

void BTCImageData::FlipVertical() {
    const std::size_t rowBytes = GetRowSize();
    for (int top = 0, bottom = m_height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(m_bits.begin() + static_cast<std::ptrdiff_t>(top * rowBytes),
                         m_bits.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowBytes),
                         m_bits.begin() + static_cast<std::ptrdiff_t>(bottom * rowBytes));
    }
}
