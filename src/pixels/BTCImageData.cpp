#include "pixels/BTCImageData.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

std::shared_ptr<std::uint8_t[]> CopyOf(const std::shared_ptr<std::uint8_t[]>& bits,
                                       std::size_t size) {
    if (size == 0) {
        return nullptr;
    }
    auto copy = std::make_shared_for_overwrite<std::uint8_t[]>(size);
    std::memcpy(copy.get(), bits.get(), size);
    return copy;
}

} // namespace

BTCImageData::BTCImageData(const BTCImageData& other)
    : m_width(other.m_width), m_height(other.m_height), m_size(other.m_size),
      m_bits(CopyOf(other.m_bits, other.m_size)) {}

BTCImageData& BTCImageData::operator=(const BTCImageData& other) {
    if (this != &other) {
        m_bits = CopyOf(other.m_bits, other.m_size);
        m_width = other.m_width;
        m_height = other.m_height;
        m_size = other.m_size;
    }
    return *this;
}

BTCImageData::BTCImageData(BTCImageData&& other) noexcept
    : m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)),
      m_size(std::exchange(other.m_size, 0)), m_bits(std::move(other.m_bits)) {}

BTCImageData& BTCImageData::operator=(BTCImageData&& other) noexcept {
    if (this != &other) {
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_size = std::exchange(other.m_size, 0);
        m_bits = std::move(other.m_bits);
    }
    return *this;
}

BTCImageData BTCImageData::SharedCopy() const {
    BTCImageData copy;
    copy.m_width = m_width;
    copy.m_height = m_height;
    copy.m_size = m_size;
    copy.m_bits = m_bits;
    return copy;
}

std::uint8_t* BTCImageData::GetBits() {
    if (m_bits.use_count() > 1) {
        m_bits = CopyOf(m_bits, m_size);
    }
    return m_bits.get();
}

bool operator==(const BTCImageData& a, const BTCImageData& b) {
    return a.m_width == b.m_width && a.m_height == b.m_height && a.m_size == b.m_size &&
           (a.m_bits == b.m_bits || std::memcmp(a.m_bits.get(), b.m_bits.get(), a.m_size) == 0);
}

bool BTCImageData::Allocate(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        return false;
    }
    m_size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    m_bits = std::make_shared_for_overwrite<std::uint8_t[]>(m_size);
    m_width = width;
    m_height = height;
    return true;
}

bool BTCImageData::Create(int width, int height, int bitsPerPixel) {
    if (bitsPerPixel != 24 || !Allocate(width, height)) {
        return false;
    }
    std::memset(m_bits.get(), 0, m_size);
    return true;
}

bool BTCImageData::CreateForOverwrite(int width, int height) {
    return Allocate(width, height);
}

void BTCImageData::DeleteObject() {
    m_bits = nullptr;
    m_size = 0;
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
    std::uint8_t* bits = GetBits();
    for (int row = top; row < bottom; ++row) {
        std::uint8_t* p = bits + row * GetRowSize() + static_cast<std::size_t>(left) * 3;
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
    const std::size_t size = static_cast<std::size_t>(width) * height * 3;
    auto bits = std::make_shared_for_overwrite<std::uint8_t[]>(size);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int row = 0; row < height; ++row) {
        std::memcpy(bits.get() + row * rowBytes,
                    src.m_bits.get() + (y + row) * src.GetRowSize() +
                        static_cast<std::size_t>(x) * 3,
                    rowBytes);
    }
    m_bits = std::move(bits);
    m_size = size;
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
    std::uint8_t* bits = GetBits();
    for (int row = top; row < bottom; ++row) {
        std::memcpy(bits + row * GetRowSize() + static_cast<std::size_t>(left) * 3,
                    src.m_bits.get() + (row - y) * src.GetRowSize() +
                        static_cast<std::size_t>(left - x) * 3,
                    rowBytes);
    }
}

void BTCImageData::FlipVertical() {
    const std::size_t rowBytes = GetRowSize();
    std::uint8_t* bits = GetBits();
    for (int top = 0, bottom = m_height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(bits + top * rowBytes, bits + (top + 1) * rowBytes,
                         bits + bottom * rowBytes);
    }
}
