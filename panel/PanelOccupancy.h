#pragma once

#include "panel/PanelState.h"

#include <QObject>
#include <cstdint>
#include <vector>

namespace vedivez {

// Which cells of the largest possible panel (4000 x 4000) hold an element, one bit a cell,
// kept up to date with every edit. Views far out draw a cell, or a screen pixel standing for
// several cells, from these bits, so their cost follows the window and not the element count.
class PanelOccupancy {
public:
    static constexpr int32_t kSide = 4000;

    explicit PanelOccupancy(PanelState& panel);
    PanelOccupancy(const PanelOccupancy&) = delete;
    PanelOccupancy& operator=(const PanelOccupancy&) = delete;

    // Whether the cell holds an element; cells outside 0..kSide-1 never do here.
    bool Occupied(int32_t col, int32_t row) const;
    // Whether any cell of the square of `k` x `k` cells (k a power of two up to 64) whose
    // top-left cell is (col, row), with col a multiple of k, holds an element; only cells
    // left of column `cols` and above row `rows` (the panel's edges) count.
    bool AnyInBlock(int32_t col, int32_t row, int k, int32_t cols, int32_t rows) const;
    // The 64 cells col .. col + 63 of a row as bits (bit i: cell col + i); col a multiple of
    // 64.
    uint64_t Word(int32_t col, int32_t row) const;

private:
    // The panel's change signals.
    void CellChanged(int32_t col, int32_t row);
    void AllChanged();

    static constexpr int32_t kWords = (kSide + 63) / 64;
    void Rebuild() const;
    static bool Inside(int32_t col, int32_t row) {
        return col >= 0 && col < kSide && row >= 0 && row < kSide;
    }

    PanelState& panel_;
    // Built on first use after a load or a shift, not inside the operation that changed it.
    mutable bool stale_ = true;
    mutable std::vector<uint64_t> bits_;
    // The receiver of the panel's signals; declared last, so the first to go.
    QObject receiver_;
};

} // namespace vedivez
