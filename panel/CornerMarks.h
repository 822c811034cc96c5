#pragma once

#include <array>
#include <cstddef>

namespace vedivez {

// The four corner marks, in the order in which an element's corner flags are tested.
enum class MarkCorner { LH = 0, LD = 1, PH = 2, PD = 3 };

// One corner mark put down by a corner flag: which mark, and its top-left pixel relative
// to the top-left pixel of the flag's cell.
struct MarkPlacement {
    MarkCorner mark;
    int dx;
    int dy;
};

// The marks of the set corner flags of one cell, in drawing order: flags in the order LH,
// LD, PH, PD, each with the mark in its own cell first and then its left-right mirror image
// in the horizontally neighbouring cell. With 47-pixel cells each mark covers the 7 x 7
// corner box of the tile drawn in that cell.
struct MarkPlacements {
    std::array<MarkPlacement, 8> items{};
    size_t count = 0;
    const MarkPlacement* begin() const { return items.data(); }
    const MarkPlacement* end() const { return items.data() + count; }
};

inline MarkPlacements CornerMarkPlacements(bool lh, bool ld, bool ph, bool pd, int cellWidth,
                                           int cellHeight) {
    MarkPlacements out;
    auto pair = [&](bool on, MarkCorner own, MarkCorner mirrored, int ownX, int mirroredX, int y) {
        if (!on)
            return;
        out.items[out.count++] = {own, ownX, y};
        out.items[out.count++] = {mirrored, mirroredX, y};
    };
    const int cw = cellWidth, ch = cellHeight;
    pair(lh, MarkCorner::LH, MarkCorner::PH, 1, -6, 1);
    pair(ld, MarkCorner::LD, MarkCorner::PD, 1, -6, ch - 6);
    pair(ph, MarkCorner::PH, MarkCorner::LH, cw - 6, cw + 1, 1);
    pair(pd, MarkCorner::PD, MarkCorner::LD, cw - 6, cw + 1, ch - 6);
    return out;
}

} // namespace vedivez
