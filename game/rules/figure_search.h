#pragma once

#include "game/rules/board.h"
#include "game/rules/detection_targets.h"

#include <array>
#include <cstdint>

namespace kv {

// The candidate figures of each detector, by first field, in scan order.
// A stripe's fields follow its first at a fixed step; a square's first field
// is its top-left corner.
template <std::size_t N>
struct LineSet {
    std::array<std::uint8_t, N> starts;
    int step;
};

namespace detail {

// Columns are scanned column by column, each from the top.
constexpr LineSet<45> makeColumns()
{
    LineSet<45> lines{{}, 9};
    for (int k = 0; k < 45; ++k)
        lines.starts[k] = static_cast<std::uint8_t>(9 * (k % 5) + k / 5);
    return lines;
}

// Everything else is scanned row by row, each row from the left.
template <std::size_t N>
constexpr LineSet<N> makeRowMajor(int perRow, int firstColumn, int step)
{
    LineSet<N> lines{{}, step};
    for (int k = 0; k < static_cast<int>(N); ++k)
        lines.starts[k] = static_cast<std::uint8_t>(9 * (k / perRow) + firstColumn + k % perRow);
    return lines;
}

}  // namespace detail

inline constexpr LineSet<45> kColumnLines = detail::makeColumns();
inline constexpr LineSet<45> kRowLines = detail::makeRowMajor<45>(5, 0, 1);
inline constexpr LineSet<25> kDiagonalLines = detail::makeRowMajor<25>(5, 0, 10);
inline constexpr LineSet<25> kAntiDiagonalLines = detail::makeRowMajor<25>(5, 4, 8);
// Blocks 0 to 48, seven per top row; the upper detector owns 0 to 27.
inline constexpr LineSet<49> kSquareBlocks = detail::makeRowMajor<49>(7, 0, 0);
inline constexpr int kFirstLowerBlock = 28;

using FieldValues = std::array<std::int32_t, kFieldCount>;

// The first field of the first line that is a stripe, or -1. Every sum is
// taken from the board as it is now; nothing changes until a caller acts.
template <std::size_t N>
int findStripe(const FieldValues& v, const LineSet<N>& lines)
{
    const int d = lines.step;
    for (std::uint8_t s : lines.starts) {
        const std::int32_t sum = v[s] + v[s + d] + v[s + 2 * d] + v[s + 3 * d] + v[s + 4 * d];
        if (kStripeSums.contains(sum))
            return s;
    }
    return -1;
}

// The top-left field of the first block in [from, to) that is a square, or -1.
inline int findSquare(const FieldValues& v, int from, int to)
{
    for (int k = from; k < to; ++k) {
        const int s = kSquareBlocks.starts[static_cast<std::size_t>(k)];
        const std::int32_t sum =
            v[s] + v[s + 1] + v[s + 2] + v[s + 9] + v[s + 10] + v[s + 11] + v[s + 18] + v[s + 19] + v[s + 20];
        if (kSquareSums.contains(sum))
            return s;
    }
    return -1;
}

}  // namespace kv
