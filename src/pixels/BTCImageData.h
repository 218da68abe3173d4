#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// One 24-bit image: three bytes per pixel in blue, green, red order, rows from the top,
// rows packed tightly (no padding). Copies are deep: every image owns its pixels.
// Moving an image hands its pixels over and leaves the source without pixels, which is what
// keeps inserting into a texture array a move of handles rather than a copy of pixels.
class BTCImageData {
public:
    // Largest side we agree to allocate; bounds any size that comes from a file.
    static constexpr int kMaxSide = 16384;

    BTCImageData() = default;
    BTCImageData(const BTCImageData& other) = default;
    BTCImageData(BTCImageData&& other) noexcept;
    BTCImageData& operator=(const BTCImageData& other) = default;
    BTCImageData& operator=(BTCImageData&& other) noexcept;
    virtual ~BTCImageData() = default;

    // A black width x height image. Only 24 bits per pixel exist; anything else, or a side
    // outside 1..kMaxSide, fails and leaves the image as it was.
    bool Create(int width, int height, int bitsPerPixel = 24);
    // Like Create, but the pixels are left as they happen to be, for a caller that is about
    // to overwrite every one of them (cutting sprites out of a file's pages, decoding).
    bool CreateForOverwrite(int width, int height);
    // Frees the pixels; the image stays usable and can be created or filled again.
    void DeleteObject();

    bool IsLoaded() const { return !m_bits.empty(); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    std::uint8_t* GetBits() { return m_bits.data(); }
    const std::uint8_t* GetBits() const { return m_bits.data(); }
    std::size_t GetImageSize() const { return m_bits.size(); }
    std::size_t GetRowSize() const { return static_cast<std::size_t>(m_width) * 3; }

    // Fills the rectangle (clipped to the image) with colour 0x00BBGGRR.
    void Fill(int x, int y, int width, int height, std::uint32_t colour);
    // This image becomes the width x height rectangle of src whose top-left corner is (x, y).
    // Fails, leaving this image unchanged, when the rectangle is empty or not inside src.
    bool Copy(const BTCImageData& src, int x, int y, int width, int height);
    // Draws src opaquely onto this image with its top-left corner at (x, y), clipped.
    void Combine(const BTCImageData& src, int x, int y);
    // Turns the image upside down.
    void FlipVertical();

    friend bool operator==(const BTCImageData& a, const BTCImageData& b) {
        return a.m_width == b.m_width && a.m_height == b.m_height && a.m_bits == b.m_bits;
    }

private:
    // Leaves new bytes uninitialised instead of zeroing them; every path that exposes them
    // fills them first.
    template <typename T> struct DefaultInitAllocator : std::allocator<T> {
        DefaultInitAllocator() = default;
        template <typename U> DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}
        template <typename U> struct rebind { using other = DefaultInitAllocator<U>; };
        template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
        template <typename U, typename... Args> void construct(U* p, Args&&... args) {
            ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
        }
    };

    bool Allocate(int width, int height);

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>> m_bits;
};
