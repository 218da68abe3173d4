#include "model/PageOccupancy.h"

#include <algorithm>
#include <bit>

namespace {

using Row = std::array<std::uint64_t, 4>;
constexpr int kWords = 4;

Row And(const Row& a, const Row& b) {
    return {a[0] & b[0], a[1] & b[1], a[2] & b[2], a[3] & b[3]};
}

bool Any(const Row& v) {
    return (v[0] | v[1] | v[2] | v[3]) != 0;
}

// Column of the lowest set bit; v must not be empty.
int FirstSet(const Row& v) {
    for (int i = 0; i < kWords; ++i) {
        if (v[i] != 0) {
            return i * 64 + std::countr_zero(v[i]);
        }
    }
    return PageOccupancy::kSide;
}

// Bit x of the result is bit x + shift of v (0 < shift < 256); past column 255 reads as 0.
// Written with fixed word indices so that the four words stay in registers.
Row ShiftTowardsZero(const Row& v, int shift) {
    const int bits = shift & 63;
    // (hi << 1) << (63 - bits) is hi << (64 - bits), and 0 when bits is 0.
    const auto join = [bits](std::uint64_t lo, std::uint64_t hi) {
        return (lo >> bits) | ((hi << 1) << (63 - bits));
    };
    switch (shift >> 6) {
    case 0:
        return {join(v[0], v[1]), join(v[1], v[2]), join(v[2], v[3]), join(v[3], 0)};
    case 1:
        return {join(v[1], v[2]), join(v[2], v[3]), join(v[3], 0), 0};
    case 2:
        return {join(v[2], v[3]), join(v[3], 0), 0, 0};
    default:
        return {join(v[3], 0), 0, 0, 0};
    }
}

// Columns x at which `width` free columns start (so x + width <= 256). Built by doubling:
// if runs of k start at x and at x + s (s <= k), a run of k + s starts at x.
Row RunStarts(const Row& taken, int width) {
    Row r = {~taken[0], ~taken[1], ~taken[2], ~taken[3]};
    for (int k = 1; k < width;) {
        const int s = std::min(k, width - k);
        r = And(r, ShiftTowardsZero(r, s));
        k += s;
    }
    return r;
}

// First column at or after `from` whose bit equals `set`, or 256.
int NextBit(const Row& v, int from, bool set) {
    for (int i = from / 64; i < kWords; ++i) {
        std::uint64_t w = set ? v[i] : ~v[i];
        if (i == from / 64) {
            w &= ~std::uint64_t{0} << (from % 64);
        }
        if (w != 0) {
            return i * 64 + std::countr_zero(w);
        }
    }
    return PageOccupancy::kSide;
}

std::uint16_t LongestFreeRun(const Row& taken) {
    int longest = 0;
    for (int pos = 0; pos < PageOccupancy::kSide;) {
        const int start = NextBit(taken, pos, false);
        if (start == PageOccupancy::kSide) {
            break;
        }
        const int end = NextBit(taken, start, true);
        longest = std::max(longest, end - start);
        pos = end;
    }
    return static_cast<std::uint16_t>(longest);
}

Row ColumnMask(int x, int width) {
    Row r{};
    for (int i = 0; i < kWords; ++i) {
        const int lo = std::max(x, i * 64);
        const int hi = std::min(x + width, i * 64 + 64);
        if (lo < hi) {
            const int n = hi - lo;
            const std::uint64_t ones = n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
            r[i] = ones << (lo - i * 64);
        }
    }
    return r;
}

} // namespace

PageOccupancy::PageOccupancy() {
    m_longestFree.fill(kSide);
    m_misfitHeight.fill(kSide + 1);
}

std::optional<PageOccupancy::Position> PageOccupancy::FindFree(int width, int height) {
    if (height >= m_misfitHeight[width]) {
        return std::nullopt;
    }
    std::optional<Position> found;
    if (width * height <= m_freePixels) {
        found = Scan(width, height);
    }
    if (!found) {
        RememberMisfit(width, height);
    }
    return found;
}

void PageOccupancy::RememberMisfit(int width, int height) {
    const auto h = static_cast<std::uint16_t>(height);
    for (int w = width; w <= kSide && m_misfitHeight[w] > h; ++w) {
        m_misfitHeight[w] = h;
    }
}

void PageOccupancy::Occupy(int x, int y, int width, int height) {
    const Row mask = ColumnMask(x, width);
    for (int row = y; row < y + height; ++row) {
        Row& taken = m_taken[row];
        for (int i = 0; i < kWords; ++i) {
            taken[i] |= mask[i];
        }
        m_longestFree[row] =
            row > y && taken == m_taken[row - 1] ? m_longestFree[row - 1] : LongestFreeRun(taken);
    }
    m_freePixels -= width * height;
}

// Walks the stretches of rows wide enough for the width. Inside one stretch the h-row
// windows are ANDed block-wise (blocks of h rows from the stretch's start): a window is the
// suffix of one block and the prefix of the next, so each window costs one AND however tall
// it is. Run masks and suffixes are built only as far as the windows looked at need.
std::optional<PageOccupancy::Position> PageOccupancy::Scan(int width, int height) const {
    std::array<Row, kSide> runs;
    std::array<Row, kSide> suffix;
    int stretchStart = 0;
    int runsBuilt = 0; // rows from stretchStart up to here have their run mask
    const auto runAt = [&](int row) -> const Row& {
        for (; runsBuilt <= row; ++runsBuilt) {
            // Rectangles start and end on few rows, so most rows repeat the one above.
            if (runsBuilt > stretchStart && m_taken[runsBuilt] == m_taken[runsBuilt - 1]) {
                runs[runsBuilt] = runs[runsBuilt - 1];
            } else {
                runs[runsBuilt] = RunStarts(m_taken[runsBuilt], width);
            }
        }
        return runs[row];
    };

    for (int start = 0; start + height <= kSide;) {
        if (m_longestFree[start] < width) {
            ++start;
            continue;
        }
        int end = start;
        while (end < kSide && m_longestFree[end] >= width) {
            ++end;
        }
        stretchStart = start;
        runsBuilt = start;
        const int lastTop = end - height; // last window top inside the stretch
        for (int block = start; block <= lastTop; block += height) {
            const int blockEnd = block + height;
            suffix[blockEnd - 1] = runAt(blockEnd - 1);
            for (int row = blockEnd - 2; row >= block; --row) {
                suffix[row] = And(runs[row], suffix[row + 1]);
            }
            // Suffixes only grow towards the block's end: skip the tops whose suffix alone
            // already rules every column out.
            int top = block;
            const int topLimit = std::min(blockEnd - 1, lastTop);
            while (top <= topLimit && !Any(suffix[top])) {
                ++top;
            }
            if (top > topLimit) {
                continue;
            }
            Row prefix = {~std::uint64_t{0}, ~std::uint64_t{0}, ~std::uint64_t{0},
                          ~std::uint64_t{0}};
            for (int row = blockEnd; row < top + height; ++row) {
                prefix = And(prefix, runAt(row));
            }
            for (;;) {
                const Row window = And(suffix[top], prefix);
                if (Any(window)) {
                    return Position{FirstSet(window), top};
                }
                if (++top > topLimit) {
                    break;
                }
                prefix = And(prefix, runAt(top + height - 1));
            }
        }
        start = end;
    }
    return std::nullopt;
}
