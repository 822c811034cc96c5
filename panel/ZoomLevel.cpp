#include "panel/ZoomLevel.h"

#include <algorithm>
#include <cmath>

namespace vedivez {

const std::vector<ZoomLevel>& ZoomLevel::All() {
    // Three and two times the pictures' size; whole pixels a cell, at most a quarter less at
    // each step down to 12 pixels, where the tiles still show, and at most half below; then
    // whole cells a pixel.
    static const std::vector<ZoomLevel> levels = {
        {141, 1}, {94, 1}, {47, 1}, {40, 1}, {34, 1}, {28, 1}, {24, 1}, {20, 1}, {16, 1}, {12, 1},
        {10, 1},  {8, 1},  {6, 1},  {4, 1},  {3, 1},  {2, 1},  {1, 1},  {1, 2},  {1, 4},  {1, 8}};
    return levels;
}

int ZoomLevel::Index() const {
    const auto& all = All();
    const auto it = std::find(all.begin(), all.end(), *this);
    return it == all.end() ? -1 : int(it - all.begin());
}

QString ZoomLevel::PercentText() const {
    const double percent = 100.0 * pixels / (double(kCellPixels) * cells);
    if (percent >= 1.0)
        return QStringLiteral("%1 %").arg(std::lround(percent));
    // Below one per cent one decimal place, with the Czech decimal comma.
    const long tenths = std::max(1L, std::lround(percent * 10));
    if (tenths >= 10)
        return QStringLiteral("1 %");
    return QStringLiteral("0,%1 %").arg(tenths);
}

} // namespace vedivez
