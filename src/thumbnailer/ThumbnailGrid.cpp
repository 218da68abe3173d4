#include "thumbnailer/ThumbnailGrid.h"

#include "pixels/MagentaCheckerboard.h"

#include <algorithm>
#include <cmath>

namespace thumbnail {
namespace {

// A texture never grows past its own size, so a cell needs no more room than the largest
// sprite, a whole page.
constexpr int kMaxCell = 256;

int CeilDiv(int a, int b) {
    return (a + b - 1) / b;
}

// Each picture pixel is the average of a factor x factor block of the texture (cut short at
// its right and bottom edges); magenta pixels count as the checkerboard under that pixel.
void DrawShrunk(const BTCImageData& texture, int factor, int left, int top, Picture& picture) {
    const int width = CeilDiv(texture.GetWidth(), factor);
    const int height = CeilDiv(texture.GetHeight(), factor);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int px = left + x, py = top + y;
            const std::uint8_t checker = checkerboard::Level(px, py);
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int sy = y * factor; sy < std::min((y + 1) * factor, texture.GetHeight()); ++sy) {
                const std::uint8_t* row = texture.GetBits() + sy * texture.GetRowSize();
                for (int sx = x * factor; sx < std::min((x + 1) * factor, texture.GetWidth());
                     ++sx) {
                    const std::uint8_t* bgr = row + sx * 3;
                    const bool magenta = checkerboard::IsMagenta(bgr);
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += magenta ? checker : bgr[2 - c];
                    }
                    ++count;
                }
            }
            std::uint8_t* out =
                picture.rgba.data() + (static_cast<std::size_t>(py) * picture.width + px) * 4;
            for (int c = 0; c < 3; ++c) {
                out[c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
            }
            out[3] = 0xFF;
        }
    }
}

} // namespace

Picture DrawGrid(const std::vector<BTCImageData>& textures, int size) {
    const int shown = static_cast<int>(std::min(textures.size(), kMaxShown));
    Picture picture;
    if (shown == 0) {
        return picture;
    }
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(shown))));
    const int rows = CeilDiv(shown, columns);
    const int cell = std::min(std::clamp(size, kMinSize, kMaxSize) / columns, kMaxCell);
    picture.width = columns * cell;
    picture.height = rows * cell;
    picture.rgba.assign(static_cast<std::size_t>(picture.width) * picture.height * 4, 0);
    for (int i = 0; i < shown; ++i) {
        const BTCImageData& texture = textures[static_cast<std::size_t>(i)];
        if (!texture.IsLoaded()) {
            continue;
        }
        const int factor =
            std::max(1, CeilDiv(std::max(texture.GetWidth(), texture.GetHeight()), cell));
        const int left = i % columns * cell + (cell - CeilDiv(texture.GetWidth(), factor)) / 2;
        const int top = i / columns * cell + (cell - CeilDiv(texture.GetHeight(), factor)) / 2;
        DrawShrunk(texture, factor, left, top, picture);
    }
    return picture;
}

} // namespace thumbnail
