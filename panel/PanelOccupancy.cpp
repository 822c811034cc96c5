#include "panel/PanelOccupancy.h"

#include <algorithm>

namespace vedivez {

PanelOccupancy::PanelOccupancy(PanelState& panel) : panel_(panel) {
    QObject::connect(&panel_, &PanelState::cellChanged, &receiver_,
                     [this](int32_t col, int32_t row) { CellChanged(col, row); });
    QObject::connect(&panel_, &PanelState::allChanged, &receiver_, [this] { AllChanged(); });
}

void PanelOccupancy::Rebuild() const {
    bits_.assign(size_t(kWords) * kSide, 0);
    for (const TPolePanelu& e : panel_.Elements())
        if (Inside(e.X, e.Y))
            bits_[size_t(e.Y) * kWords + size_t(e.X) / 64] |= uint64_t{1} << (e.X % 64);
    stale_ = false;
}

uint64_t PanelOccupancy::Word(int32_t col, int32_t row) const {
    if (stale_)
        Rebuild();
    if (col < 0 || col >= kSide || row < 0 || row >= kSide)
        return 0;
    return bits_[size_t(row) * kWords + size_t(col) / 64];
}

bool PanelOccupancy::Occupied(int32_t col, int32_t row) const {
    return (Word(col & ~63, row) >> (col & 63) & 1) != 0 && Inside(col, row);
}

bool PanelOccupancy::AnyInBlock(int32_t col, int32_t row, int k, int32_t cols, int32_t rows) const {
    const int width = std::min<int64_t>(k, int64_t(cols) - col) > 0
                          ? int(std::min<int64_t>(k, int64_t(cols) - col))
                          : 0;
    if (width == 0)
        return false;
    const uint64_t mask = width >= 64 ? ~uint64_t{0} : ((uint64_t{1} << width) - 1) << (col & 63);
    const int32_t end = int32_t(std::min<int64_t>(int64_t(row) + k, rows));
    for (int32_t r = row; r < end; ++r)
        if (Word(col & ~63, r) & mask)
            return true;
    return false;
}

void PanelOccupancy::CellChanged(int32_t col, int32_t row) {
    if (stale_ || !Inside(col, row))
        return;
    uint64_t& word = bits_[size_t(row) * kWords + size_t(col) / 64];
    const uint64_t bit = uint64_t{1} << (col % 64);
    if (panel_.FindElementAt(col, row))
        word |= bit;
    else
        word &= ~bit;
}

void PanelOccupancy::AllChanged() {
    stale_ = true;
}

} // namespace vedivez
