#include "model/PageOccupancy.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {

// A plain pixel grid with the same question answered by trying every position.
class Grid {
public:
    bool Free(int x, int y, int w, int h) const {
        for (int r = y; r < y + h; ++r) {
            for (int c = x; c < x + w; ++c) {
                if (m_taken[r][c]) {
                    return false;
                }
            }
        }
        return true;
    }
    std::optional<PageOccupancy::Position> FirstFree(int w, int h) const {
        for (int y = 0; y + h <= 256; ++y) {
            for (int x = 0; x + w <= 256; ++x) {
                if (Free(x, y, w, h)) {
                    return PageOccupancy::Position{x, y};
                }
            }
        }
        return std::nullopt;
    }
    void Take(int x, int y, int w, int h) {
        for (int r = y; r < y + h; ++r) {
            for (int c = x; c < x + w; ++c) {
                m_taken[r][c] = true;
            }
        }
    }

private:
    std::array<std::array<bool, 256>, 256> m_taken{};
};

// Rectangles taken at random free spots (not the first-fit ones) leave ragged gaps that
// first-fit packing rarely makes; many queries of all shapes are then asked of both, while
// the page fills, so that sizes remembered as not fitting are put to the test as well.
TEST(PageOccupancyTest, FirstFreeMatchesTryingEveryPositionOnRaggedPages) {
    std::mt19937 rng(12345);
    const auto side = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    for (int round = 0; round < 4; ++round) {
        PageOccupancy page;
        Grid grid;
        int queries = 0;
        for (int step = 0; step < 400; ++step) {
            const int maxSide = step < 100 ? 80 : (step < 250 ? 24 : 6);
            const int w = side(1, maxSide);
            const int h = side(1, maxSide);
            const int x = side(0, 256 - w);
            const int y = side(0, 256 - h);
            if (grid.Free(x, y, w, h)) {
                page.Occupy(x, y, w, h);
                grid.Take(x, y, w, h);
            }
            if (step % 5 == 0) {
                for (int q = 0; q < 6; ++q) {
                    const int qw = q < 2 ? side(1, 256) : side(1, 40);
                    const int qh = q % 2 == 0 ? side(1, 256) : side(1, 40);
                    const auto expected = grid.FirstFree(qw, qh);
                    const auto got = page.FindFree(qw, qh);
                    ++queries;
                    ASSERT_EQ(got.has_value(), expected.has_value())
                        << "round " << round << " step " << step << " size " << qw << " x " << qh;
                    if (expected) {
                        ASSERT_EQ(got->x, expected->x) << qw << " x " << qh;
                        ASSERT_EQ(got->y, expected->y) << qw << " x " << qh;
                    }
                }
            }
        }
        EXPECT_EQ(queries, 480);
    }
}

TEST(PageOccupancyTest, EmptyAndFullPage) {
    PageOccupancy page;
    const auto whole = page.FindFree(256, 256);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->x, 0);
    EXPECT_EQ(whole->y, 0);
    page.Occupy(0, 0, 256, 255);
    EXPECT_FALSE(page.FindFree(1, 2).has_value());
    const auto last = page.FindFree(256, 1);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->y, 255);
    page.Occupy(0, 255, 255, 1);
    const auto pixel = page.FindFree(1, 1);
    ASSERT_TRUE(pixel.has_value());
    EXPECT_EQ(pixel->x, 255);
    EXPECT_EQ(pixel->y, 255);
    page.Occupy(255, 255, 1, 1);
    EXPECT_FALSE(page.FindFree(1, 1).has_value());
}

} // namespace
