#include "images/SplitImage.h"
#include "support/Fixtures.h"
#include "support/SplitExpectations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Size {
    int w, h;
};

std::vector<BTCImageData> SplitAll(const BTCImageData& image, Size piece, PiecePolicy policy) {
    std::vector<BTCImageData> pieces;
    const std::size_t added = SplitImage(
        image, piece.w, piece.h, policy, [] { return true; },
        [&pieces](BTCImageData p) {
            pieces.push_back(std::move(p));
            return true;
        });
    EXPECT_EQ(added, pieces.size());
    return pieces;
}

// Pieces in row order, edge pieces cut short or padded with magenta, as PiecesMatchSplit
// works them out; 300 x 200 at 128 cut short is spelled out as a check of that arithmetic.
TEST(SplitImage, GridsAndEdgePiecesForBothPolicies) {
    const struct {
        Size image, piece;
    } cases[] = {{{300, 200}, {128, 128}},
                 {{100, 50}, {256, 256}},
                 {{4, 3}, {1, 1}},
                 {{256, 256}, {256, 16}},
                 {{33, 65}, {32, 64}}};
    std::uint32_t seed = 1;
    for (const auto& c : cases) {
        for (const PiecePolicy policy : {PiecePolicy::AllowSmaller, PiecePolicy::PadWithMagenta}) {
            SCOPED_TRACE(std::to_string(c.image.w) + "x" + std::to_string(c.image.h) + " at " +
                         std::to_string(c.piece.w) + "x" + std::to_string(c.piece.h) + " policy " +
                         std::to_string(static_cast<int>(policy)));
            const BTCImageData image = fixtures::MakeTexture(c.image.w, c.image.h, ++seed);
            const std::vector<BTCImageData> pieces = SplitAll(image, c.piece, policy);
            EXPECT_TRUE(fixtures::PiecesMatchSplit(image, c.piece.w, c.piece.h,
                                                   policy == PiecePolicy::PadWithMagenta, pieces));
            if (c.image.w == 300 && policy == PiecePolicy::AllowSmaller) {
                std::string sizes;
                for (const BTCImageData& p : pieces) {
                    sizes +=
                        std::to_string(p.GetWidth()) + "x" + std::to_string(p.GetHeight()) + " ";
                }
                EXPECT_EQ(sizes, "128x128 128x128 44x128 128x72 128x72 44x72 ");
            }
        }
    }
}

TEST(SplitImage, AsksBeforeEveryRowAndPieceAndStopsWhenToldOrRefused) {
    const BTCImageData image = fixtures::MakeTexture(300, 200, 3); // 2 rows of 3 pieces
    // Each entry: how many questions are answered yes, how many pieces `add` takes, and the
    // pieces and questions that result.
    struct Case {
        int yesAnswers, accepted;
        std::size_t added;
        int questions, offered;
    };
    const std::vector<Case> cases = {
        {100, 100, 6, 8, 6}, // row, 3 pieces, row, 3 pieces
        {0, 100, 0, 1, 0},   // stopped before the first row
        {3, 100, 2, 4, 2},   // stopped before the third piece of the first row
        {4, 100, 3, 5, 3},   // stopped before the second row
        {100, 4, 4, 7, 5},   // the fifth piece refused: nothing after it is cut
        {100, 0, 0, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.yesAnswers) + " yes, " + std::to_string(c.accepted) +
                     " accepted");
        int questions = 0;
        int offered = 0;
        const std::size_t added = SplitImage(
            image, 128, 128, PiecePolicy::AllowSmaller, [&] { return ++questions <= c.yesAnswers; },
            [&](BTCImageData) { return ++offered <= c.accepted; });
        EXPECT_EQ(added, c.added);
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(offered, c.offered);
    }
}

TEST(SplitImage, PieceSidesOutside1To256AndEmptyImagesCutNothing) {
    const BTCImageData image = fixtures::MakeTexture(8, 8, 4);
    for (const Size piece : {Size{0, 4}, Size{4, 0}, Size{-1, 4}, Size{257, 4}, Size{4, 257}}) {
        EXPECT_TRUE(SplitAll(image, piece, PiecePolicy::AllowSmaller).empty())
            << piece.w << "x" << piece.h;
    }
    EXPECT_TRUE(SplitAll(BTCImageData(), {4, 4}, PiecePolicy::PadWithMagenta).empty());
}

} // namespace
