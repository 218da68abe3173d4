#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// One 24-bit image: three bytes per pixel in blue, green, red order, rows from the top,
// rows packed tightly (no padding). Copies are deep: every image owns its pixels.
// Moving an image hands its pixels over and leaves the source without pixels, which is what
// keeps inserting into a texture array a move of handles rather than a copy of pixels.
// SharedCopy is the one exception: a copy that shares the pixels until either image is
// written (the first non-const GetBits or drawing call copies them), so that a snapshot of a
// whole document costs no pixel copying; the two may then live on different threads as long
// as the sharing copy is only read and is let go on the thread that writes the original: a
// write that finds no other holder is then ordered after every read through the copy.
class BTCImageData {
public:
    // Largest side we agree to allocate; bounds any size that comes from a file.
    static constexpr int kMaxSide = 16384;

    BTCImageData() = default;
    BTCImageData(const BTCImageData& other);
    BTCImageData(BTCImageData&& other) noexcept;
    BTCImageData& operator=(const BTCImageData& other);
    BTCImageData& operator=(BTCImageData&& other) noexcept;
    virtual ~BTCImageData() = default;

    // An image that shares this one's pixels until one of the two is written.
    BTCImageData SharedCopy() const;

    // A black width x height image. Only 24 bits per pixel exist; anything else, or a side
    // outside 1..kMaxSide, fails and leaves the image as it was.
    bool Create(int width, int height, int bitsPerPixel = 24);
    // Like Create, but the pixels are left as they happen to be, for a caller that is about
    // to overwrite every one of them (cutting sprites out of a file's pages, decoding).
    bool CreateForOverwrite(int width, int height);
    // Frees the pixels; the image stays usable and can be created or filled again.
    void DeleteObject();

    bool IsLoaded() const { return m_size != 0; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // Pixels shared with a SharedCopy are copied first.
    std::uint8_t* GetBits();
    const std::uint8_t* GetBits() const { return m_bits.get(); }
    std::size_t GetImageSize() const { return m_size; }
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

    friend bool operator==(const BTCImageData& a, const BTCImageData& b);

private:
    // New bytes are left uninitialised instead of zeroed; every path that exposes them fills
    // them first.
    bool Allocate(int width, int height);

    int m_width = 0;
    int m_height = 0;
    std::size_t m_size = 0;
    std::shared_ptr<std::uint8_t[]> m_bits;
};
