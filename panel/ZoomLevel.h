#pragma once

#include "panel/FloorDiv.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace vedivez {

// A scale of the panel view: `pixels` screen pixels for `cells` cells, so a cell is always a
// whole number of pixels (the grid stays crisp) or one pixel stands for a whole number of
// cells. The panel itself stays in panel pixels, 47 to a cell at every scale; the view maps
// between the two here.
struct ZoomLevel {
    int pixels = 47;
    int cells = 1;

    friend bool operator==(const ZoomLevel&, const ZoomLevel&) = default;

    static constexpr int kCellPixels = 47;

    bool Actual() const { return pixels == kCellPixels && cells == 1; }
    // Above 100 %: a whole number of screen pixels for each panel pixel.
    bool Enlarged() const { return cells == 1 && pixels > kCellPixels; }
    // Screen pixels of a cell; 0 when a pixel covers several cells.
    int CellSize() const { return cells == 1 ? pixels : 0; }

    // The screen pixel (from the panel's top-left corner) where panel pixel `p` starts.
    int64_t ToScreen(int64_t panelPixel) const {
        return FloorDiv(panelPixel * pixels, int64_t{kCellPixels} * cells);
    }
    // The panel pixel at the start of screen pixel `s`; negative offsets (a pointer left of
    // or above the panel) map to negative panel pixels.
    int64_t ToPanel(int64_t screenPixel) const {
        return FloorDiv(screenPixel * kCellPixels * cells, pixels);
    }
    // Screen pixel where cell `c` starts, and the screen size of `n` cells (rounded up, so
    // the last cell of a panel always has a pixel).
    int64_t CellToScreen(int64_t c) const { return FloorDiv(c * pixels, cells); }
    int64_t CellsExtent(int64_t n) const { return (n * pixels + cells - 1) / cells; }

    // "100 %", "26 %", "0,5 %": the level as people read it, in Czech notation.
    QString PercentText() const;

    // The levels from the largest down: 300 % and 200 % (the pictures enlarged two and three
    // times), 100 %, whole pixels a cell down to one, then one pixel for two, four and eight
    // cells, where a 4000-cell panel is 500 pixels across.
    static const std::vector<ZoomLevel>& All();
    // Position of this level in All(); -1 for a level not in the list.
    int Index() const;
};

} // namespace vedivez
