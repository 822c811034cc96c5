#pragma once

#include "panel/Point.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vedivez {

// One corner mark put down by a corner flag: the corner whose mark it is, and its top-left
// pixel relative to the top-left pixel of the flag's cell.
struct MarkPlacement {
    Point mark;
    int dx;
    int dy;
};

// The marks of the set corner flags of one cell (`points`, a set of points of which only the
// corners count), in drawing order: flags in the order LH, LD, PH, PD, each with the mark in
// its own cell first and then its left-right mirror image in the horizontally neighbouring
// cell. With 47-pixel cells each mark covers the 7 x 7 corner box of the tile drawn in that
// cell.
struct MarkPlacements {
    std::array<MarkPlacement, 8> items{};
    size_t count = 0;
    const MarkPlacement* begin() const { return items.data(); }
    const MarkPlacement* end() const { return items.data() + count; }
};

inline MarkPlacements CornerMarkPlacements(uint32_t points, int cellWidth, int cellHeight) {
    MarkPlacements out;
    for (Point p : kAllPoints) {
        if (!IsCorner(p) || !(points & PointBit(p)))
            continue;
        const PointFacts& corner = FactsOf(p);
        const bool left = corner.dx < 0;
        const int y = corner.dy < 0 ? 1 : cellHeight - 6;
        out.items[out.count++] = {p, left ? 1 : cellWidth - 6, y};
        out.items[out.count++] = {PointAt(-corner.dx, corner.dy), left ? -6 : cellWidth + 1, y};
    }
    return out;
}

} // namespace vedivez
