#pragma once

#include "pixels/BTCImageData.h"

#include <gtest/gtest.h>

#include <vector>

namespace fixtures {

// Whether `pieces` are `source` cut into pieceWidth x pieceHeight pieces in row order: each
// piece holds the source pixels of its cell, edge pieces cut short, or padded to the full
// size with magenta when `padded`. Worked out from the cell arithmetic alone.
::testing::AssertionResult PiecesMatchSplit(const BTCImageData& source, int pieceWidth,
                                            int pieceHeight, bool padded,
                                            const std::vector<BTCImageData>& pieces);

} // namespace fixtures
