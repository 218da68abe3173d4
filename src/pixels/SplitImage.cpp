#include "pixels/SplitImage.h"

#include <algorithm>
#include <utility>

namespace {

bool ValidPieceSide(int side) {
    return side >= 1 && side <= kPageSide;
}

} // namespace

std::size_t PieceCount(const BTCImageData& image, int pieceWidth, int pieceHeight) {
    if (!image.IsLoaded() || !ValidPieceSide(pieceWidth) || !ValidPieceSide(pieceHeight)) {
        return 0;
    }
    const auto across = static_cast<std::size_t>((image.GetWidth() + pieceWidth - 1) / pieceWidth);
    const auto down = static_cast<std::size_t>((image.GetHeight() + pieceHeight - 1) / pieceHeight);
    return across * down;
}

std::size_t SplitImage(const BTCImageData& image, int pieceWidth, int pieceHeight,
                       PiecePolicy policy, const std::function<bool()>& running,
                       const std::function<bool(BTCImageData)>& add) {
    if (!image.IsLoaded() || !ValidPieceSide(pieceWidth) || !ValidPieceSide(pieceHeight)) {
        return 0;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    std::size_t added = 0;
    for (int y = 0; y < height; y += pieceHeight) {
        if (!running()) {
            return added;
        }
        for (int x = 0; x < width; x += pieceWidth) {
            if (!running()) {
                return added;
            }
            const int w = std::min(pieceWidth, width - x);
            const int h = std::min(pieceHeight, height - y);
            BTCImageData piece;
            piece.Copy(image, x, y, w, h);
            if (policy == PiecePolicy::PadWithMagenta && (w < pieceWidth || h < pieceHeight)) {
                BTCImageData padded;
                padded.Create(pieceWidth, pieceHeight);
                padded.Fill(0, 0, pieceWidth, pieceHeight, kSplitFillColour);
                padded.Combine(piece, 0, 0);
                piece = std::move(padded);
            }
            if (!add(std::move(piece))) {
                return added;
            }
            ++added;
        }
    }
    return added;
}
