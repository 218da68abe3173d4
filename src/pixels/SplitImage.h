#pragma once

#include "pixels/BTCImageData.h"
#include "pixels/PageSide.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// Padding of pieces that are cut smaller than the chosen size: magenta, 0x00BBGGRR.
inline constexpr std::uint32_t kSplitFillColour = 0xFF00FF;
// A piece side must lie in 1..kPageSide, the size of one texture page.

// What becomes of the pieces on the right and bottom edges, which the image may not fill.
enum class PiecePolicy {
    AllowSmaller = 0,
    PadWithMagenta = 1,
};

// How many pieces SplitImage cuts from the image: the columns times the rows of its grid.
std::size_t PieceCount(const BTCImageData& image, int pieceWidth, int pieceHeight);

// Cuts image into a grid of pieces, rows from the top and, within a row, from the left.
// `running` is asked before every row and every piece, and the cutting ends at once when it
// answers false; `add` takes each piece and ends the cutting by returning false. Piece sides
// outside 1..kPageSide cut nothing. Returns how many pieces `add` accepted.
std::size_t SplitImage(const BTCImageData& image, int pieceWidth, int pieceHeight,
                       PiecePolicy policy, const std::function<bool()>& running,
                       const std::function<bool(BTCImageData)>& add);
