#include "packing/PageOccupancy.h"

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
    return kPageSide;
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
    return kPageSide;
}

std::uint16_t LongestFreeRun(const Row& taken) {
    int longest = 0;
    for (int pos = 0; pos < kPageSide;) {
        const int start = NextBit(taken, pos, false);
        if (start == kPageSide) {
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
    m_longestFree.fill(kPageSide);
    m_misfitHeight.fill(kPageSide + 1);
    m_bandStarts[0] = 1;
}

std::optional<PageOccupancy::Position> PageOccupancy::FindFree(int width, int height) {
    if (KnownMisfit(width, height)) {
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
    for (int w = width; w <= kPageSide && m_misfitHeight[w] > h; ++w) {
        m_misfitHeight[w] = h;
    }
}

void PageOccupancy::Occupy(int x, int y, int width, int height) {
    const Row mask = ColumnMask(x, width);
    const int end = y + height;
    for (int row = y; row < end; ++row) {
        Row& taken = m_taken[row];
        for (int i = 0; i < kWords; ++i) {
            taken[i] |= mask[i];
        }
        // The row above is already up to date, its longest run included.
        const bool sameAsAbove = row > 0 && taken == m_taken[row - 1];
        MarkBandStart(row, !sameAsAbove);
        m_longestFree[row] = sameAsAbove ? m_longestFree[row - 1] : LongestFreeRun(taken);
    }
    if (end < kPageSide) {
        MarkBandStart(end, m_taken[end] != m_taken[end - 1]);
    }
    m_freePixels -= width * height;
}

void PageOccupancy::MarkBandStart(int row, bool starts) {
    const std::uint64_t bit = std::uint64_t{1} << (row % 64);
    if (starts) {
        m_bandStarts[row / 64] |= bit;
    } else {
        m_bandStarts[row / 64] &= ~bit;
    }
}

// The first free spot always lies at the top of a band (a run of identical rows): moving a
// window up by one row inside a band adds a row equal to one it already has and drops one,
// so it can only become freer. So only band tops are tried, and each window is the AND of
// the run masks of the few bands it touches, stopping as soon as no column is left.
std::optional<PageOccupancy::Position> PageOccupancy::Scan(int width, int height) const {
    std::array<int, kPageSide + 1> tops; // first row of each band, then kPageSide
    int bands = 0;
    for (int i = 0; i < kWords; ++i) {
        for (std::uint64_t w = m_bandStarts[i]; w != 0; w &= w - 1) {
            tops[bands++] = i * 64 + std::countr_zero(w);
        }
    }
    tops[bands] = kPageSide;

    // Windows touch bands in order without gaps, so run masks are built front to back
    // (bands too narrow for the width are never asked for theirs).
    std::array<Row, kPageSide> runs;
    int built = 0;
    const auto runsOf = [&](int band) -> const Row& {
        for (; built <= band; ++built) {
            if (m_longestFree[tops[built]] >= width) {
                runs[built] = RunStarts(m_taken[tops[built]], width);
            }
        }
        return runs[band];
    };

    for (int i = 0; i < bands && tops[i] + height <= kPageSide; ++i) {
        const int top = tops[i];
        Row window = {~std::uint64_t{0}, ~std::uint64_t{0}, ~std::uint64_t{0}, ~std::uint64_t{0}};
        bool fits = true;
        for (int j = i; tops[j] < top + height; ++j) {
            if (m_longestFree[tops[j]] < width) {
                // Every window whose top lies in bands i..j contains band j.
                i = j;
                fits = false;
                break;
            }
            window = And(window, runsOf(j));
            if (!Any(window)) {
                fits = false;
                break;
            }
        }
        if (fits) {
            return Position{FirstSet(window), top};
        }
    }
    return std::nullopt;
}
