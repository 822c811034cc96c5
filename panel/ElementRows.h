#pragma once

#include "panel/PanelState.h"
#include "panel/TPolePanelu.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vedivez {

// The elements lying in a block of cells, sorted into rows with list order kept within a
// row: for walks over many cells that hold few elements, where asking the cell index cell
// by cell would cost more than one pass over the list.
class ElementRows {
public:
    // Columns c0 … c1 and rows r0 … r1, both inclusive.
    ElementRows(const std::vector<TPolePanelu>& elements, int64_t c0, int64_t c1, int64_t r0,
                int64_t r1);

    // List indices of the elements of row r (within r0 … r1).
    std::span<const uint32_t> Row(int64_t r) const {
        const size_t i = size_t(r - r0_);
        return {byRow_.data() + rowStart_[i], byRow_.data() + rowStart_[i + 1]};
    }

private:
    int64_t r0_;
    std::vector<uint32_t> rowStart_;
    std::vector<uint32_t> byRow_;
};

// The elements of a block of cells row by row, for walks that draw one row of cells at a
// time: from the cell index, cell by cell (list order within a cell), or, when the block has
// more cells than the list has elements, from the list sorted into rows (list order within
// a row).
class ElementsByRow {
public:
    // Columns c0 … c1 and rows r0 … r1, both inclusive.
    ElementsByRow(const PanelState& panel, int64_t c0, int64_t c1, int64_t r0, int64_t r1)
        : panel_(panel), c0_(c0), c1_(c1) {
        if (uint64_t(c1 - c0 + 1) * uint64_t(r1 - r0 + 1) > panel.Elements().size())
            rows_.emplace(panel.Elements(), c0, c1, r0, r1);
    }

    // Calls fn(index) with the list index of every element of row r (within r0 … r1).
    template <typename F> void ForEachInRow(int64_t r, F&& fn) const {
        if (rows_) {
            for (uint32_t i : rows_->Row(r))
                fn(size_t(i));
            return;
        }
        for (int64_t c = c0_; c <= c1_; ++c)
            panel_.ForEachElementAt(int32_t(c), int32_t(r), fn);
    }

private:
    const PanelState& panel_;
    int64_t c0_;
    int64_t c1_;
    std::optional<ElementRows> rows_;
};

} // namespace vedivez
