#include "panel/ElementRows.h"

namespace vedivez {

ElementRows::ElementRows(const std::vector<TPolePanelu>& elements, int64_t c0, int64_t c1,
                         int64_t r0, int64_t r1)
    : r0_(r0), rowStart_(size_t(r1 - r0 + 2), 0) {
    auto inside = [&](const TPolePanelu& e) {
        return e.X >= c0 && e.X <= c1 && e.Y >= r0 && e.Y <= r1;
    };
    // A counting sort: count each row, turn the counts into starts, then place.
    for (const TPolePanelu& e : elements)
        if (inside(e))
            ++rowStart_[size_t(e.Y - r0 + 1)];
    for (size_t i = 1; i < rowStart_.size(); ++i)
        rowStart_[i] += rowStart_[i - 1];
    byRow_.resize(rowStart_.back());
    std::vector<uint32_t> next(rowStart_.begin(), rowStart_.end() - 1);
    for (size_t i = 0; i < elements.size(); ++i)
        if (inside(elements[i]))
            byRow_[next[size_t(elements[i].Y - r0)]++] = uint32_t(i);
}

} // namespace vedivez
