#pragma once

#include "pixels/PageSide.h"

#include <array>
#include <cstdint>
#include <optional>

// The taken area of one 256 x 256 texture page, answering "where is the first free spot for a
// w x h rectangle, smallest row first, then smallest column" without testing every position.
//
// Each row is a 256-bit mask of taken columns. A rectangle fits at (x, y) exactly when
// columns x .. x + w - 1 are free in every row y .. y + h - 1, so per row we turn the free
// mask into the mask of columns where a free run of w starts, and AND those of h rows.
// Rectangles begin and end on few rows, so rows come in bands of equal ones; only the top
// row of a band can be the first free row, and a band needs its run mask once.
// A page only ever fills up: once w x h did not fit, nothing at least as wide and at least
// as tall will, which rejects most later queries at once.
class PageOccupancy {
public:
    struct Position {
        int x = 0;
        int y = 0;
    };

    PageOccupancy();

    // The first free position in row-major order for a width x height rectangle (sides
    // 1..256), or nothing when it fits nowhere on the page.
    std::optional<Position> FindFree(int width, int height);
    // True when an earlier search already showed that width x height cannot fit any more.
    bool KnownMisfit(int width, int height) const { return height >= m_misfitHeight[width]; }
    // Marks the rectangle as taken; it must lie inside the page on free pixels (a spot
    // that FindFree gave for its size).
    void Occupy(int x, int y, int width, int height);

private:
    using Row = std::array<std::uint64_t, 4>;

    std::optional<Position> Scan(int width, int height) const;
    void RememberMisfit(int width, int height);
    void MarkBandStart(int row, bool starts);

    std::array<Row, kPageSide> m_taken{};
    // Longest run of free columns in each row: a row shorter than the width rules out
    // every window that contains it without building its run mask.
    std::array<std::uint16_t, kPageSide> m_longestFree{};
    // Bit r: row r differs from row r - 1 (always set for row 0).
    Row m_bandStarts{};
    // Index w: the smallest height known not to fit at width w (kPageSide + 1 when none is
    // known); kept non-increasing in w.
    std::array<std::uint16_t, kPageSide + 1> m_misfitHeight{};
    int m_freePixels = kPageSide * kPageSide;
};
