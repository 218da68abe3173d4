#include "support/SplitExpectations.h"

#include "support/Fixtures.h"

#include <algorithm>

namespace fixtures {

::testing::AssertionResult PiecesMatchSplit(const BTCImageData& source, int pieceWidth,
                                            int pieceHeight, bool padded,
                                            const std::vector<BTCImageData>& pieces) {
    const int columns = (source.GetWidth() + pieceWidth - 1) / pieceWidth;
    const int rows = (source.GetHeight() + pieceHeight - 1) / pieceHeight;
    if (pieces.size() != static_cast<std::size_t>(columns * rows)) {
        return ::testing::AssertionFailure() << pieces.size() << " pieces, not " << columns * rows;
    }
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const int left = static_cast<int>(k % columns) * pieceWidth;
        const int top = static_cast<int>(k / columns) * pieceHeight;
        const int cutWidth = std::min(pieceWidth, source.GetWidth() - left);
        const int cutHeight = std::min(pieceHeight, source.GetHeight() - top);
        const int width = padded ? pieceWidth : cutWidth;
        const int height = padded ? pieceHeight : cutHeight;
        if (pieces[k].GetWidth() != width || pieces[k].GetHeight() != height) {
            return ::testing::AssertionFailure() << "piece " << k << " has the wrong size";
        }
        for (int i = 0; i < width * height; ++i) {
            const int x = i % width, y = i / width;
            if (PixelAt(pieces[k], x, y) != (x < cutWidth && y < cutHeight
                                                 ? PixelAt(source, left + x, top + y)
                                                 : Pixel{0xFF, 0x00, 0xFF})) {
                return ::testing::AssertionFailure() << "piece " << k << " differs at " << i;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace fixtures
