#pragma once

#include <cstdint>

namespace vedivez {

// A cell as one 64-bit number, ordered as the check walks the cells: by row, then by column,
// negative numbers before positive ones. Every map and index of cells keys them by it.
constexpr uint64_t CellKey(int32_t col, int32_t row) {
    return (uint64_t(uint32_t(row) ^ 0x80000000u) << 32) | (uint32_t(col) ^ 0x80000000u);
}

constexpr int32_t CellKeyCol(uint64_t key) {
    return int32_t(uint32_t(key) ^ 0x80000000u);
}

constexpr int32_t CellKeyRow(uint64_t key) {
    return int32_t(uint32_t(key >> 32) ^ 0x80000000u);
}

} // namespace vedivez
