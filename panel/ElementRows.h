#pragma once

#include "panel/TPolePanelu.h"

#include <cstdint>
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

} // namespace vedivez
