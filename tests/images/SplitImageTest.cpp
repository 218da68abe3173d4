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
    } cases[] = {{{300, 200}, {128, 128}}, {{100, 50}, {256, 256}}, {{33, 65}, {32, 64}}};
    std::uint32_t seed = 1;
    for (const auto& c : cases) {
        for (const PiecePolicy policy : {PiecePolicy::AllowSmaller, PiecePolicy::PadWithMagenta}) {
            SCOPED_TRACE(std::to_string(c.image.w) + " " + std::to_string(int(policy)));
            const BTCImageData image = fixtures::MakeTexture(c.image.w, c.image.h, ++seed);
            const std::vector<BTCImageData> pieces = SplitAll(image, c.piece, policy);
            EXPECT_TRUE(fixtures::PiecesMatchSplit(image, c.piece.w, c.piece.h,
                                                   policy == PiecePolicy::PadWithMagenta, pieces));
            if (c.image.w == 300 && policy == PiecePolicy::AllowSmaller) {
                ASSERT_EQ(pieces.size(), 6u);
                EXPECT_EQ(std::pair(pieces[5].GetWidth(), pieces[5].GetHeight()),
                          std::pair(44, 72));
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.yesAnswers) + " " + std::to_string(c.accepted));
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

TEST(SplitImage, PieceSidesOutside1To256CutNothing) {
    const BTCImageData image = fixtures::MakeTexture(8, 8, 4);
    for (const Size piece : {Size{0, 4}, Size{4, 257}}) {
        EXPECT_TRUE(SplitAll(image, piece, PiecePolicy::AllowSmaller).empty()) << piece.w;
    }
}

} // namespace
